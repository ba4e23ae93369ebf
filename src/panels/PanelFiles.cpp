#include "PanelFiles.h"

#include "platform/Convert.h"
#include "platform/IniService.h"

int readIniInt(const IniService& ini, const QString& file, const QString& section, const QString& key, int defaultValue)
{
    return strToIntDef(ini.readString(file, section, key, QString()), defaultValue);
}

bool readIniBool(const IniService& ini, const QString& file, const QString& section, const QString& key,
                 bool defaultValue)
{
    return readIniInt(ini, file, section, key, defaultValue ? 1 : 0) != 0;
}

void writeIniInt(IniService& ini, const QString& file, const QString& section, const QString& key, int value)
{
    ini.writeString(file, section, key, QString::number(value));
}

void writeIniBool(IniService& ini, const QString& file, const QString& section, const QString& key, bool value)
{
    ini.writeString(file, section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}
