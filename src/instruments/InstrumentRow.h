#pragma once

#include <QString>

#include <array>

// One instrument program or 3rd party application of a panel.
struct InstrumentRow
{
    enum Field
    {
        PortNo = 0,
        PathName,
        IPAddress,
        SimPortNo,
        Size,
        InstNo,
        FieldCount
    };

    QString Name;
    bool On = true;
    std::array<QString, FieldCount> fields;

    const QString& field(int index) const { return fields.at(index); }
    QString& field(int index) { return fields.at(index); }

    // An application row is marked by PortNo "App", exactly; nothing else tells the kinds apart.
    bool isApplication() const { return fields[PortNo] == QLatin1String("App"); }

    bool operator==(const InstrumentRow&) const = default;
};
