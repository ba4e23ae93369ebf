// The whole chain with real processes in a private network namespace: the export script under lua5.1 sends
// to the multicast group, the real varnolt switches panels, the sample gauges come and go.
#include "SimSupport.h"
#include "support/Printers.h"
#include "support/SystemProbe.h"

#include <gtest/gtest.h>

namespace {

// Ticks the fake DCS, a tenth of a second of model time at a time, until done() holds.
bool fly(FakeDcs& dcs, double& t, const std::function<bool()>& done, int ms = 15000)
{
    return waitFor(
        [&] {
            dcs.command(QStringLiteral("tick %1").arg(t += 0.1));
            return done();
        },
        ms);
}

TEST(EndToEnd, TheExportScriptSwitchesPanelsOfTheRealProgram)
{
    RUN_IN_PRIVATE_NETWORK();
    if (!FakeDcs::available())
        GTEST_SKIP() << "lua5.1 is not installed";
    Cockpit c;
    c.start();

    FakeDcs dcs;
    dcs.start();
    dcs.load(QStringLiteral("group = '224.11.5.62', listenPort = %1, simPort = %2, ttl = 0, resendSeconds = 5")
                 .arg(c.listenPort)
                 .arg(c.simPort));
    dcs.command("start");
    double t = 0;
    const auto flyUntil = [&](const std::function<bool()>& done, int ms = 15000) { return fly(dcs, t, done, ms); };

    // The first aircraft of the mission: its panel was loaded last time, and starts with the mission.
    dcs.command("lua fake.self, fake.ias, fake.alt = {Name = 'FA-18C_hornet'}, 150, 3000");
    ASSERT_TRUE(flyUntil([&] { return c.livePanels() == QStringList{"Hornet FA-18C_hornet"}; }));
    const qint64 hornet = c.liveGauges().begin()->second;
    // Started with the launcher's command line, the gauge shows the script's flight data (150 m/s in knots).
    EXPECT_TRUE(flyUntil([&] { return c.stateOf(hornet).value("value") == "291.6"; }, 10000))
        << c.stateOf(hornet).value("value").toStdString();

    // Another aircraft: the running panel is stopped and the matching one started.
    dcs.command("lua fake.self = {Name = 'A-10C_2'}");
    ASSERT_TRUE(flyUntil([&] { return c.livePanels() == QStringList{"Warthog A-10C_2"}; }));
    EXPECT_FALSE(processRunning(hornet));
    const qint64 warthog = c.liveGauges().begin()->second;

    // No aircraft (spectator): nothing changes.
    dcs.command("lua fake.self = nil");
    EXPECT_FALSE(flyUntil([&] { return c.liveGauges() != Live{{"Warthog A-10C_2", warthog}}; }, 1500));

    // Mission end stops the panel.
    dcs.command("stop");
    EXPECT_TRUE(waitFor([&] { return c.liveGauges().empty(); }, 10000));
    dcs.finish();

    // varnolt-send with the user's varnolt.ini starts the loaded panel again.
    QProcess send;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("APPDATA", c.root.path());
    send.setProcessEnvironment(env);
    send.start(QStringLiteral(SEND_PROGRAM), {"--ttl", "0", "PNL:Start"});
    ASSERT_TRUE(send.waitForFinished(5000));
    EXPECT_EQ(send.exitCode(), 0) << send.readAllStandardError().toStdString();
    EXPECT_TRUE(waitFor([&] { return c.livePanels() == QStringList{"Warthog A-10C_2"}; }, 10000));

    // Closing the program stops the panel: no child is left.
    c.program.terminate();
    ASSERT_TRUE(c.program.waitForFinished(15000));
    for (const qint64 pid : c.everyGauge())
        EXPECT_FALSE(processRunning(pid)) << pid;
    EXPECT_EQ(c.everyGauge().size(), 3u);
}

// Where the network carries no multicast, the script sends to Varnolt's address alone. Every gauge of the
// running panel shows the flight data all the same, two instances sharing their own port included, and the
// relay that hands it to them ends with the panel.
TEST(EndToEnd, UnicastFlightDataReachesEveryGaugeOfTheRunningPanel)
{
    RUN_IN_PRIVATE_NETWORK();
    if (!FakeDcs::available())
        GTEST_SKIP() << "lua5.1 is not installed";
    Cockpit c;
    c.panel("Hornet FA-18C_hornet", {{"Airspeed", "P@Airspeed.exe", 47110, 1},
                                     {"Airspeed", "P@Airspeed.exe", 47110, 2},
                                     {"Altimeter", "P@Altimeter.exe", 47111, 1}});
    c.start();

    FakeDcs dcs;
    dcs.start();
    dcs.load(QStringLiteral("group = '', unicast = {'127.0.0.1'}, listenPort = %1, simPort = %2, relayPort = %3")
                 .arg(c.listenPort)
                 .arg(c.simPort)
                 .arg(c.relayPort));
    dcs.command("start");
    dcs.command("lua fake.self, fake.ias, fake.alt = {Name = 'FA-18C_hornet'}, 150, 3000");
    double t = 0;
    ASSERT_TRUE(fly(dcs, t, [&] { return c.liveGauges().size() == 3; }));

    // Values sent once every gauge runs: a gauge that received only while it was the newest socket on the
    // simulator port would still show the old ones.
    dcs.command("lua fake.ias, fake.alt = 200, 4000");
    const QStringList expected{"13123", "388.8", "388.8"};
    EXPECT_TRUE(fly(
        dcs, t, [&] { return c.shownValues() == expected; }, 10000))
        << c.shownValues().join(", ").toStdString();
    EXPECT_TRUE(udpPortBound(c.relayPort));

    // Mission end stops the panel, and the relay with it.
    dcs.command("stop");
    EXPECT_TRUE(waitFor([&] { return c.liveGauges().empty(); }, 10000));
    EXPECT_TRUE(waitFor([&] { return !udpPortBound(c.relayPort); }, 5000));
    dcs.finish();
}

} // namespace
