// The whole chain with real processes in a private network namespace: the export script under lua5.1 sends
// to the multicast group, the real varnolt switches panels, the sample gauges come and go.
#include "SimSupport.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

namespace {

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
    const auto flyUntil = [&](const std::function<bool()>& done, int ms = 15000) {
        return waitFor(
            [&] {
                dcs.command(QStringLiteral("tick %1").arg(t += 0.1));
                return done();
            },
            ms);
    };

    // The first aircraft of the mission: its panel was loaded last time, and starts with the mission.
    dcs.command("lua fake.self, fake.ias, fake.alt = {Name = 'FA-18C_hornet'}, 150, 3000");
    ASSERT_TRUE(flyUntil([&] { return panelsOf(c.liveGauges()) == QStringList{"Hornet FA-18C_hornet"}; }));
    const qint64 hornet = c.liveGauges().begin()->second;
    // Started with the launcher's command line, the gauge shows the script's flight data (150 m/s in knots).
    EXPECT_TRUE(flyUntil([&] { return c.stateOf(hornet).value("value") == "291.6"; }, 10000))
        << c.stateOf(hornet).value("value").toStdString();

    // Another aircraft: the running panel is stopped and the matching one started.
    dcs.command("lua fake.self = {Name = 'A-10C_2'}");
    ASSERT_TRUE(flyUntil([&] { return panelsOf(c.liveGauges()) == QStringList{"Warthog A-10C_2"}; }));
    EXPECT_FALSE(alive(hornet));
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
    EXPECT_TRUE(waitFor([&] { return panelsOf(c.liveGauges()) == QStringList{"Warthog A-10C_2"}; }, 10000));

    // Closing the program stops the panel: no child is left.
    c.program.terminate();
    ASSERT_TRUE(c.program.waitForFinished(15000));
    for (const qint64 pid : c.everyGauge())
        EXPECT_FALSE(alive(pid)) << pid;
    EXPECT_EQ(c.everyGauge().size(), 3u);
}

} // namespace
