#include "run/CommandLines.h"
#include "instruments/InstrumentRow.h"
#include "panels/PanelRecord.h"
#include "settings/AppSettings.h"

#include <gtest/gtest.h>

namespace {

InstrumentRow instrument(const QString& path, const QString& port, const QString& size, const QString& instNo,
                         bool on = true)
{
    InstrumentRow r;
    r.Name = QStringLiteral("Airspeed");
    r.On = on;
    r.field(InstrumentRow::PortNo) = port;
    r.field(InstrumentRow::PathName) = path;
    r.field(InstrumentRow::IPAddress) = QStringLiteral("255.255.255.255");
    r.field(InstrumentRow::SimPortNo) = QStringLiteral("45000");
    r.field(InstrumentRow::Size) = size;
    r.field(InstrumentRow::InstNo) = instNo;
    return r;
}

InstrumentRow application(const QString& path, const QString& parameters, bool on = true)
{
    InstrumentRow r;
    r.Name = QStringLiteral("tool");
    r.On = on;
    r.field(InstrumentRow::PortNo) = QStringLiteral("App");
    r.field(InstrumentRow::PathName) = path;
    r.field(InstrumentRow::IPAddress) = parameters;
    return r;
}

LaunchValues cockpit(QChar separator = u'.')
{
    PanelRecord panel;
    panel.Name = QStringLiteral("Cockpit");
    panel.ShowBezels = true;
    panel.Monitor = QStringLiteral("0");
    panel.EnableLighting = false;
    return LaunchValues::from(panel, AppSettings{}, QStringLiteral("192.168.1.20"), QStringLiteral("C:\\Varnolt\\"),
                              separator);
}

} // namespace

TEST(CommandLines, CockpitInstrumentWithDefaultSettings)
{
    const InstrumentRow row = instrument(QStringLiteral("Instruments_Standard\\P@Airspeed.exe"),
                                         QStringLiteral("47000"), QStringLiteral("1"), QStringLiteral("1"));
    EXPECT_EQ(InstrumentCommandLine(cockpit(), row),
              QStringLiteral(R"("C:\Varnolt\Instruments_Standard\P@Airspeed.exe" 47000 "Cockpit" "192.168.1.20" )"
                             R"("45000" "1" "true" "0" "false" "1" "224.11.5.62")"));
}

TEST(CommandLines, BackgroundGetsSimulatorAddressAndFixedFields)
{
    PanelRecord panel;
    panel.Name = QStringLiteral("Night Ops");
    panel.ShowBezels = false;
    panel.Monitor = QStringLiteral("2");
    panel.EnableLighting = true;
    AppSettings settings;
    settings.FlightSimIPAddress = QStringLiteral("10.0.0.5");
    settings.FlightSimPort = QStringLiteral("45001");
    settings.MulticastGroup = QStringLiteral("239.1.1.1");
    const LaunchValues v =
        LaunchValues::from(panel, settings, QStringLiteral("Auto"), QStringLiteral("/opt/v\\"), u',');
    EXPECT_EQ(BackgroundCommandLine(v),
              QStringLiteral(R"("/opt/v\PanelBackGround.exe" 0 "Night Ops" "10.0.0.5" "45001" "0" "false" "2" )"
                             R"("true" "1" "239.1.1.1")"));
}

TEST(CommandLines, SizeTextTakesTheUsersDecimalSeparator)
{
    struct Case
    {
        const char* stored;
        QChar separator;
        const char* passed;
    };
    const Case cases[] = {
        {"1,5", u',', "1,5"},   {"1.5", u',', "1,5"},   {"1,5", u'.', "1.5"},
        {"0,75", u'.', "0.75"}, {"0.75", u'.', "0.75"}, {"2", u',', "2"},
    };
    for (const Case& c : cases) {
        const InstrumentRow row = instrument(QStringLiteral("Instruments_Standard\\P@A.exe"), QStringLiteral("47001"),
                                             QString::fromLatin1(c.stored), QStringLiteral("3"));
        const QString line = InstrumentCommandLine(cockpit(c.separator), row);
        EXPECT_TRUE(
            line.contains(QStringLiteral(R"("45000" ")") + QLatin1String(c.passed) + QStringLiteral(R"(" "true")")))
            << line.toStdString();
    }
}

TEST(CommandLines, ApplicationParameterItems)
{
    struct Case
    {
        const char* parameters;
        const char* line;
    };
    const Case cases[] = {
        {"", R"("/usr/bin/tool" )"},
        {"-w,-h 600", R"("/usr/bin/tool" "-w" "-h 600" )"},
        {R"("a,b",c)", R"("/usr/bin/tool" "a,b" "c" )"},
        {R"("say ""hi""",x)", R"("/usr/bin/tool" "say "hi"" "x" )"},
        {R"("quoted"tail,next)", R"("/usr/bin/tool" "quoted" "tail" "next" )"},
        {R"("never closed, still one)", R"("/usr/bin/tool" "never closed, still one" )"},
        {"a,,b", R"("/usr/bin/tool" "a" "" "b" )"},
        {"a,", R"("/usr/bin/tool" "a" "" )"},
        {",", R"("/usr/bin/tool" "" "" )"},
        {" x , y", R"("/usr/bin/tool" " x " " y" )"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ApplicationCommandLine(application(QStringLiteral("/usr/bin/tool"), QString::fromUtf8(c.parameters))),
                  QString::fromUtf8(c.line))
            << c.parameters;
}

TEST(CommandLines, PanelLinesFollowListOrderAndSkipUncheckedRows)
{
    LaunchValues v = cockpit();
    const std::vector<InstrumentRow> rows = {
        application(QStringLiteral("/usr/bin/tool"), QStringLiteral("-x")),
        instrument(QStringLiteral("Instruments_Standard\\P@Airspeed.exe"), QStringLiteral("47000"), QStringLiteral("1"),
                   QStringLiteral("1")),
        instrument(QStringLiteral("Instruments_Standard\\P@Airspeed.exe"), QStringLiteral("47000"), QStringLiteral("1"),
                   QStringLiteral("2"), false),
    };
    std::vector<LaunchLine> lines = PanelLaunchLines(v, rows);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], (LaunchLine{BackgroundCommandLine(v), false}));
    EXPECT_EQ(lines[1], (LaunchLine{QStringLiteral(R"("/usr/bin/tool" "-x" )"), true}));
    EXPECT_EQ(lines[2], (LaunchLine{InstrumentCommandLine(v, rows[1]), false}));

    v.showBackground = false;
    lines = PanelLaunchLines(v, rows);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].isApplication);
}
