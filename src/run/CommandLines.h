#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

struct AppSettings;
struct InstrumentRow;
struct PanelRecord;

// What every command line of one start shares, taken from the loaded panel and the settings.
struct LaunchValues
{
    QString appPath; // program folder, with its trailing separator
    QString panelName;
    QString localAddress;     // the adapter address instruments talk from
    QString flightSimAddress; // the simulator's address, for the background program
    QString flightSimPort;
    QString multicastGroup;
    QString bezelText = QStringLiteral("true");
    QString monitorText = QStringLiteral("0");
    QString lightingText = QStringLiteral("false");
    QChar decimalSeparator = u'.';
    bool showBackground = true;

    static LaunchValues from(const PanelRecord& panel, const AppSettings& settings, const QString& localIPAddressToUse,
                             const QString& appPath, QChar decimalSeparator);
};

// One program to start, in start order. Application rows get a pause before them.
struct LaunchLine
{
    QString commandLine;
    bool isApplication = false;

    bool operator==(const LaunchLine&) const = default;
};

// The value between two double quotes, nothing escaped.
QString quoted(const QString& value);

// The program part and the ten argument parts joined by single spaces; the caller supplies the quotes.
QString BuildCommandLine(const QString& program, const std::array<QString, 10>& args);

QString BackgroundCommandLine(const LaunchValues& v);
QString InstrumentCommandLine(const LaunchValues& v, const InstrumentRow& row);
// The quoted path and then every quoted parameter item, each followed by one space.
QString ApplicationCommandLine(const InstrumentRow& row);

// The stored scale with either decimal mark replaced by the user's.
QString SizeText(const QString& size, QChar decimalSeparator);

// Splits an application's comma-separated parameter text. Items may be quoted ("" inside stands for one
// quote); blanks are kept; a trailing comma adds an empty item.
QStringList SplitParameters(const QString& text);

// The background (when the panel shows one) and then every checked row, in list order.
std::vector<LaunchLine> PanelLaunchLines(const LaunchValues& v, const std::vector<InstrumentRow>& rows);
