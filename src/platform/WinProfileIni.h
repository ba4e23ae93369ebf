#pragma once

#include "IniService.h"

// The system's own private-profile services, GetPrivateProfileStringW and WritePrivateProfileStringW, as every
// program of the PC reads and writes these files.
class WinProfileIni : public IniService
{
public:
    QString readString(const QString& file, const QString& section, const QString& key,
                       const QString& defaultValue) const override;
    void writeString(const QString& file, const QString& section, const QString& key, const QString& value) override;
};
