#pragma once

#include <QString>

class FileSystem;
class IniService;

// What a file of a panel folder is. Anything that is none of the others is left alone by the program.
enum class PanelFileKind
{
    PanelSettings,      // "<panel>.ini", section [Config]
    InstrumentList,     // "<panel>.cfg"
    BackgroundSettings, // "PanelBackGround.ini"
    BackgroundPicture,  // "PanelBackgroundImage.<picture's extension>", the panel's own copy
    InstrumentPosition, // any other ".ini": a gauge's window placement, "<base name><InstNo>.ini"
    Other
};

// One panel's folder, "<settings folder>\Panel_<name>", and the name of every file in it. Nothing else knows
// how a panel folder's files are named.
//
// Which file a name is gets decided without regard to letter case: the panels come from Windows, whose file
// system takes "MYPANEL.INI" for "MyPanel.ini", so a file written there under other letters is still the
// same file here. Where that errs it errs safe: a gauge's file that only differs from the panel's own in
// letter case is taken for the panel's own and kept.
class PanelFolder
{
public:
    // The folder of panel `name` in the settings folder `iniPath`. The name is used exactly as given; it must
    // keep the panel name rule before it gets here.
    PanelFolder(const QString& iniPath, const QString& name);
    // The files of panel `name` in a folder elsewhere, such as an import unpacked beside the panels.
    static PanelFolder at(const QString& path, const QString& name);

    const QString& path() const { return m_path; }
    const QString& name() const { return m_name; }

    QString settingsFile() const { return file(settingsFileName()); }
    QString listFile() const { return file(listFileName()); }
    QString backgroundSettingsFile() const { return file(BackgroundSettingsName); }
    // The panel's own copy of its background picture, keeping the picture's extension (".jpg").
    QString pictureCopy(const QString& extension) const { return file(BackgroundPictureBaseName + extension); }
    // Where a gauge keeps its window placement: its program's base name ("Airspeed") and instance number.
    QString positionFile(const QString& programBaseName, const QString& instNo) const;
    QString file(const QString& fileName) const;

    QString settingsFileName() const { return m_name + SettingsExtension; }
    QString listFileName() const { return m_name + ListExtension; }

    PanelFileKind kindOf(const QString& fileName) const;
    // The same question for the panel name `panelName`.
    static PanelFileKind kindOf(const QString& fileName, const QString& panelName);

    // The panel's own files in this folder still carry the name `oldName` (a copy, an archive from another
    // PC): they take this folder's name, and the settings file's "PanelName" says it. A file that cannot be
    // renamed stays as it was.
    void takeOwnFilesFrom(FileSystem& files, IniService& ini, const QString& oldName) const;

    // Deletes the files directly in the folder, then the folder; failures are silent.
    void remove(FileSystem& files) const;

    inline static const QString EntryPrefix = QStringLiteral("Panel_");
    inline static const QString BackgroundSettingsName = QStringLiteral("PanelBackGround.ini");
    inline static const QString BackgroundPictureBaseName = QStringLiteral("PanelBackgroundImage");
    // The extensions of the panel's own files, for checks made before the folder exists.
    inline static const QString SettingsExtension = QStringLiteral(".ini");
    inline static const QString ListExtension = QStringLiteral(".cfg");

private:
    PanelFolder() = default;

    QString m_path;
    QString m_name;
};
