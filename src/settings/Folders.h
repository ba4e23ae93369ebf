#pragma once

#include <QString>

class Environment;
class FileSystem;

inline const QString VersionNo = QStringLiteral(VARNOLT_VERSION);

// The settings folder (per user, no trailing separator) and the program folder (trailing separator).
struct Folders
{
    QString IniPath;
    QString AppPath;
    QString executableName; // file name of the running program, e.g. "varnolt"

    // IniPath + "\" + the executable's base name + ".ini"
    QString SettingsFileName() const;
};

// Resolves both folders and creates the settings folder with every missing folder above it. A failed creation is
// not reported here: it shows up later as failing writes.
Folders ResolveFolders(const Environment& env, FileSystem& files);

// The settings folder as ResolveFolders finds it, without creating anything (for tools that only read it).
QString SettingsFolderPath(const Environment& env);
