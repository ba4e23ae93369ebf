#pragma once

#include "settings/Folders.h"

#include <QString>

class IniService;

inline const QString BackgroundSettingsName = QStringLiteral("PanelBackGround.ini");
// Base name of the panel's own copy of its background picture; the picture's extension follows it.
inline const QString BackgroundImageBaseName = QStringLiteral("PanelBackgroundImage");

// <panel folder>\<name>.ini
QString PanelSettingsFileName(const QString& iniPath, const QString& panelName);
// <panel folder>\PanelBackGround.ini
QString BackgroundSettingsFileName(const QString& iniPath, const QString& panelName);

// Integers and booleans of the panel files: decimal, "$" or "0x" hexadecimal; anything else, or a missing
// key, gives the default. Booleans are integers where any non-zero value is true.
int readIniInt(const IniService& ini, const QString& file, const QString& section, const QString& key,
               int defaultValue);
bool readIniBool(const IniService& ini, const QString& file, const QString& section, const QString& key,
                 bool defaultValue);
void writeIniInt(IniService& ini, const QString& file, const QString& section, const QString& key, int value);
void writeIniBool(IniService& ini, const QString& file, const QString& section, const QString& key, bool value);
