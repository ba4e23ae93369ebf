// The export script under lua5.1 with a stand-in for DCS, sending to loopback ports only.
#include "SimSupport.h"
#include "net/ControlDatagram.h"
#include "support/Printers.h"

#include <QNetworkDatagram>

#include <gtest/gtest.h>

namespace {

class ExportScript : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!FakeDcs::available())
            GTEST_SKIP() << "lua5.1 is not installed (tools/install-deps.sh --test installs it)";
        dcs.start();
    }

    // Unicast to our ports; no group, so nothing leaves loopback.
    QString settings(const QString& more = {}) const
    {
        return QStringLiteral("group = '', unicast = {'127.0.0.1'}, listenPort = %1, simPort = %2, relayPort = %3, %4")
            .arg(control.port())
            .arg(simPort.port())
            .arg(data.port())
            .arg(more);
    }

    QStringList controlTexts()
    {
        QStringList out;
        for (const QByteArray& d : control.take())
            out << QString::fromLatin1(d);
        return out;
    }

    Inbox control;
    Inbox data;    // the relay port: unicast flight data goes there
    Inbox simPort; // only the group's flight data goes there
    FakeDcs dcs;
};

TEST_F(ExportScript, SendsEachAircraftOnceResendsItAndStopsAtMissionEnd)
{
    dcs.load(settings("resendSeconds = 5, dataRate = 0"));
    const QStringList steps[] = {
        {"start", "tick 0"}, // not spawned yet
        {"lua fake.self = {Name = 'FA-18C_hornet'}", "tick 1", "tick 2", "tick 5.9"},
        {"tick 6"},                                  // five seconds after the first
        {"lua fake.self = nil", "tick 7", "tick 8"}, // spectator: nothing
        {"lua fake.self = {Name = 'A-10C_2'}", "tick 9"},
        {"lua fake.self = {}", "tick 10"}, // external view of another unit
        {"stop"},
        {"start", "lua fake.self = {Name = 'A-10C_2'}", "tick 0"}, // the next mission starts its panel again
    };
    const QStringList expected[] = {
        {},           {"PNL:FA-18C_hornet|PNL:Start"}, {"PNL:FA-18C_hornet"}, {}, {"PNL:A-10C_2"}, {},
        {"PNL:Stop"}, {"PNL:A-10C_2|PNL:Start"},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        for (const QString& step : steps[i])
            dcs.command(step);
        EXPECT_EQ(controlTexts(), expected[i]) << "step " << i << ": " << steps[i].join(", ").toStdString();
    }
    dcs.finish();
    EXPECT_TRUE(data.take().isEmpty());
}

TEST_F(ExportScript, WithoutStartWithMissionOnlyTheAircraftIsSent)
{
    dcs.load(settings("startWithMission = false, dataRate = 0"));
    dcs.command("start");
    dcs.command("lua fake.self = {Name = 'F-16C_50'}");
    dcs.command("tick 0");
    EXPECT_EQ(controlTexts(), QStringList{"PNL:F-16C_50"});
    dcs.finish();
}

TEST_F(ExportScript, VarnoltReadsEveryNameBackExactly)
{
    const QString names[] = {
        "Su-25T", "Name:With:Colons", "pipe|in|it", R"(say "hi")", R"(all "of|:them")", R"("quoted")", "Stop",
        "Start", // aircraft of these names, not the commands
    };
    const QString expected[] = {
        "Su-25T", "Name:With:Colons", "pipe|in|it", R"(say "hi")", R"(all "of|:them")", R"("quoted")", "Stop", "Start",
    };
    dcs.load(settings("dataRate = 0"));
    dcs.command("start");
    for (size_t i = 0; i < std::size(names); ++i) {
        QString luaName = names[i];
        luaName.replace(u'\\', QLatin1String("\\\\")).replace(u'\'', QLatin1String("\\'"));
        dcs.command(QStringLiteral("lua fake.self = {Name = '%1'}").arg(luaName));
        dcs.command(QStringLiteral("tick %1").arg(i));
        const QList<QByteArray> sent = control.take();
        ASSERT_EQ(sent.size(), 1) << names[i].toStdString();
        const std::vector<ControlRecord> records = ParseControlDatagram(sent[0]);
        ASSERT_GE(records.size(), 1u) << sent[0].toStdString();
        EXPECT_EQ(records[0], (ControlRecord{ControlRecord::Aircraft, expected[i]})) << sent[0].toStdString();
        EXPECT_EQ(records.size(), i == 0 ? 2u : 1u) << sent[0].toStdString(); // Start with the first only
    }
    dcs.finish();
}

TEST_F(ExportScript, HooksDefinedEarlierKeepWorkingAndFailuresStayApart)
{
    struct Case
    {
        const char* earlier; // earlier hooks, defined before the script is loaded
        const char* more;    // further settings
        const char* next;    // what LuaExportActivityNextEvent(10) must return
    };
    const Case cases[] = {
        // An earlier hook that wants to be called sooner than we do wins, and a later one loses.
        {"function LuaExportActivityNextEvent(t) calls[#calls+1] = 'next ' .. t; return t + 0.05 end", "",
         "next 10.05"},
        {"function LuaExportActivityNextEvent(t) calls[#calls+1] = 'next ' .. t; return t + 5 end", "", "next 10.1"},
        // An earlier hook that fails does not stop ours.
        {"function LuaExportActivityNextEvent(t) calls[#calls+1] = 'next ' .. t; error('theirs') end", "", "next 10.1"},
        // Ours failing (a broken setting) leaves theirs and its answer alone.
        {"function LuaExportActivityNextEvent(t) calls[#calls+1] = 'next ' .. t; return t + 2 end",
         "resendSeconds = 'soon'", "next 12"},
    };
    for (const Case& c : cases) {
        FakeDcs lua;
        lua.start();
        lua.command("lua calls = {}");
        lua.command(QStringLiteral("lua %1").arg(QLatin1String(c.earlier)));
        lua.command("lua function LuaExportStart() calls[#calls+1] = 'start' end");
        lua.command("lua function LuaExportStop() calls[#calls+1] = 'stop'; error('theirs too') end");
        lua.load(settings(QStringLiteral("dataRate = 10, %1").arg(QLatin1String(c.more))));
        lua.command("start");
        lua.command("lua fake.self = {Name = 'Ka-50'}");
        EXPECT_EQ(lua.command("tick 10"), QStringList{QLatin1String(c.next)}) << c.earlier;
        EXPECT_EQ(controlTexts(), QStringList{"PNL:Ka-50|PNL:Start"}) << c.earlier;
        lua.command("stop");
        EXPECT_EQ(controlTexts(), QStringList{"PNL:Stop"}) << c.earlier;
        EXPECT_EQ(lua.command("lua print(table.concat(calls, ','))"), QStringList{"start,next 10,stop"}) << c.earlier;
        lua.finish();
    }
    dcs.finish();
}

TEST_F(ExportScript, FlightDataCarriesTheValuesInGaugeUnitsAtTheDataRate)
{
    dcs.load(settings("dataRate = 10"));
    dcs.command("start");
    dcs.command("lua fake.self = {Name = 'P-51D', Heading = math.pi / 2}");
    dcs.command("lua fake.ias, fake.alt, fake.vs = 100, 1000, -5");
    dcs.command("lua fake.engine = {RPM = {left = 85.5, right = 80}}");
    for (const char* t : {"tick 0", "tick 0.05", "tick 0.1"})
        dcs.command(t);
    EXPECT_EQ(data.take(), (QList<QByteArray>{"IAS=194.4;ALT=3281;VS=-984;RPM=85.5;HDG=90.0",
                                              "IAS=194.4;ALT=3281;VS=-984;RPM=85.5;HDG=90.0"}));

    // Engine tables differ per aircraft; what is missing or fails is left out.
    dcs.command("lua fake.engine = {fuel_internal = 1}");
    dcs.command("lua function LoGetVerticalVelocity() error('not in this module') end");
    dcs.command("lua fake.self = {Name = 'P-51D', Heading = -math.pi / 2}");
    dcs.command("tick 1");
    EXPECT_EQ(data.take(), QList<QByteArray>{"IAS=194.4;ALT=3281;HDG=270.0"});
    dcs.finish();
    EXPECT_TRUE(simPort.take().isEmpty()) << "unicast to the simulator port would reach one gauge only";
}

} // namespace

namespace {

TEST(ExportScriptMulticast, GoesToTheGroupWithTheConfiguredTtl)
{
    RUN_IN_PRIVATE_NETWORK();
    if (!FakeDcs::available())
        GTEST_SKIP() << "lua5.1 is not installed";
    Inbox control(QHostAddress::AnyIPv4);
    ASSERT_TRUE(control.socket().joinMulticastGroup(QHostAddress("224.11.5.62")));
    FakeDcs dcs;
    dcs.start();
    dcs.load(QStringLiteral("listenPort = %1, ttl = 3, dataRate = 0").arg(control.port()));
    dcs.command("start");
    dcs.command("lua fake.self = {Name = 'Mi-8MT'}");
    dcs.command("tick 0");
    dcs.finish();
    ASSERT_TRUE(waitFor([&] { return control.socket().hasPendingDatagrams(); }));
    const QNetworkDatagram d = control.socket().receiveDatagram();
    EXPECT_EQ(d.data(), "PNL:Mi-8MT|PNL:Start");
    EXPECT_EQ(d.destinationAddress(), QHostAddress("224.11.5.62"));
    EXPECT_EQ(d.hopLimit(), 3);
}

} // namespace
