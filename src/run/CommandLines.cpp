#include "CommandLines.h"

#include "instruments/InstrumentRow.h"
#include "panels/PanelRecord.h"
#include "platform/DelimitedText.h"
#include "settings/AppSettings.h"

namespace {

QString trueFalse(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

} // namespace

LaunchValues LaunchValues::from(const PanelRecord& panel, const AppSettings& settings,
                                const QString& localIPAddressToUse, const QString& appPath, QChar decimalSeparator)
{
    LaunchValues v;
    v.appPath = appPath;
    v.panelName = panel.Name;
    v.localAddress = localIPAddressToUse;
    v.flightSimAddress = settings.FlightSimIPAddress;
    v.flightSimPort = settings.FlightSimPort;
    v.multicastGroup = settings.MulticastGroup;
    v.bezelText = trueFalse(panel.ShowBezels);
    v.monitorText = panel.Monitor;
    v.lightingText = trueFalse(panel.EnableLighting);
    v.decimalSeparator = decimalSeparator;
    v.showBackground = panel.ShowBackground;
    return v;
}

QString quoted(const QString& value)
{
    return u'"' + value + u'"';
}

QString BuildCommandLine(const QString& program, const std::array<QString, 10>& args)
{
    QString line = program;
    for (const QString& a : args)
        line += u' ' + a;
    return line;
}

QString BackgroundCommandLine(const LaunchValues& v)
{
    return BuildCommandLine(quoted(v.appPath + QStringLiteral("PanelBackGround.exe")),
                            {QStringLiteral("0"), quoted(v.panelName), quoted(v.flightSimAddress),
                             quoted(v.flightSimPort), quoted(QStringLiteral("0")), quoted(v.bezelText),
                             quoted(v.monitorText), quoted(v.lightingText), quoted(QStringLiteral("1")),
                             quoted(v.multicastGroup)});
}

QString InstrumentCommandLine(const LaunchValues& v, const InstrumentRow& row)
{
    return BuildCommandLine(quoted(v.appPath + row.field(InstrumentRow::PathName)),
                            {row.field(InstrumentRow::PortNo), quoted(v.panelName), quoted(v.localAddress),
                             quoted(v.flightSimPort),
                             quoted(SizeText(row.field(InstrumentRow::Size), v.decimalSeparator)), quoted(v.bezelText),
                             quoted(v.monitorText), quoted(v.lightingText), quoted(row.field(InstrumentRow::InstNo)),
                             quoted(v.multicastGroup)});
}

QString ApplicationCommandLine(const InstrumentRow& row)
{
    QString line = quoted(row.field(InstrumentRow::PathName)) + u' ';
    for (const QString& item : SplitParameters(row.field(InstrumentRow::IPAddress)))
        line += quoted(item) + u' ';
    return line;
}

QString SizeText(const QString& size, QChar decimalSeparator)
{
    QString text = size;
    text.replace(u'.', decimalSeparator);
    text.replace(u',', decimalSeparator);
    return text;
}

QStringList SplitParameters(const QString& text)
{
    return SplitFields(text, u',');
}

std::vector<LaunchLine> PanelLaunchLines(const LaunchValues& v, const std::vector<InstrumentRow>& rows)
{
    std::vector<LaunchLine> lines;
    if (v.showBackground)
        lines.push_back({BackgroundCommandLine(v), false});
    for (const InstrumentRow& row : rows) {
        if (!row.On)
            continue;
        if (row.isApplication())
            lines.push_back({ApplicationCommandLine(row), true});
        else
            lines.push_back({InstrumentCommandLine(v, row), false});
    }
    return lines;
}
