#pragma once

#include <QString>

class IniService;

// Integers and booleans of the panel files: decimal, "$" or "0x" hexadecimal; anything else, or a missing
// key, gives the default. Booleans are integers where any non-zero value is true.
int readIniInt(const IniService& ini, const QString& file, const QString& section, const QString& key,
               int defaultValue);
bool readIniBool(const IniService& ini, const QString& file, const QString& section, const QString& key,
                 bool defaultValue);
void writeIniInt(IniService& ini, const QString& file, const QString& section, const QString& key, int value);
void writeIniBool(IniService& ini, const QString& file, const QString& section, const QString& key, bool value);
