#pragma once

// The two versions of each file that the save loop alternates between, shared with the test that checks them.
#include "instruments/InstrumentListFile.h"

#include <QString>

#include <vector>

namespace tornsave {

inline const QString kPanel = QStringLiteral("Torn");
inline const InstrumentLineSettings kSettings{QStringLiteral("127.0.0.1"), QStringLiteral("45000")};
inline const QString kSection = QStringLiteral("Config");
inline const QString kKey = QStringLiteral("Layout");

// Large enough that a save takes a while, so kills land inside the writes.
inline std::vector<InstrumentRow> rows(int version)
{
    std::vector<InstrumentRow> rows(3000);
    for (size_t i = 0; i < rows.size(); ++i) {
        InstrumentRow& r = rows[i];
        r.Name = QStringLiteral("Gauge%1").arg(i, 5, 10, QLatin1Char('0'));
        r.On = version == 0;
        r.field(InstrumentRow::PortNo) = QString::number(47000 + version);
        r.field(InstrumentRow::PathName) = QStringLiteral("Instruments_Standard\\P@Airspeed%1.exe").arg(version);
        r.field(InstrumentRow::Size) = QStringLiteral("1");
        r.field(InstrumentRow::InstNo) = QString::number(i);
    }
    return rows;
}

inline QString value(int version)
{
    return QString(2000, QLatin1Char(version == 0 ? 'a' : 'b'));
}

inline QString iniPath(const QString& folder)
{
    return folder + QStringLiteral("\\Torn.ini");
}
inline QString sourceFolder(const QString& folder, int version)
{
    return folder + QStringLiteral("\\source%1").arg(version);
}
inline QString archivePath(const QString& folder)
{
    return folder + QStringLiteral("\\Torn.vrx");
}

} // namespace tornsave
