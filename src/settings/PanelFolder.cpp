#include "PanelFolder.h"

#include "platform/FileSystem.h"
#include "platform/IniService.h"
#include "platform/Paths.h"

namespace {

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

PanelFolder::PanelFolder(const QString& iniPath, const QString& name)
    : m_path(joinPath(iniPath, EntryPrefix + name)), m_name(name)
{}

PanelFolder PanelFolder::at(const QString& path, const QString& name)
{
    PanelFolder folder;
    folder.m_path = path;
    folder.m_name = name;
    return folder;
}

QString PanelFolder::file(const QString& fileName) const
{
    return joinPath(m_path, fileName);
}

QString PanelFolder::positionFile(const QString& programBaseName, const QString& instNo) const
{
    return file(programBaseName + instNo + SettingsExtension);
}

PanelFileKind PanelFolder::kindOf(const QString& fileName) const
{
    return kindOf(fileName, m_name);
}

PanelFileKind PanelFolder::kindOf(const QString& fileName, const QString& panelName)
{
    // The panel's own files first: a panel may be named like a gauge's instance ("Airspeed1").
    if (sameName(fileName, panelName + SettingsExtension))
        return PanelFileKind::PanelSettings;
    if (sameName(fileName, panelName + ListExtension))
        return PanelFileKind::InstrumentList;
    if (sameName(fileName, BackgroundSettingsName))
        return PanelFileKind::BackgroundSettings;
    if (sameName(withoutExtension(fileName), BackgroundPictureBaseName))
        return PanelFileKind::BackgroundPicture;
    if (sameName(extensionOf(fileName), SettingsExtension))
        return PanelFileKind::InstrumentPosition;
    return PanelFileKind::Other;
}

void PanelFolder::takeOwnFilesFrom(FileSystem& files, IniService& ini, const QString& oldName) const
{
    if (oldName != m_name) {
        for (const DirEntry& e : files.list(file(QStringLiteral("*")))) {
            if (e.directory)
                continue;
            switch (kindOf(e.name, oldName)) {
            case PanelFileKind::PanelSettings:
                files.renameFile(file(e.name), settingsFile());
                break;
            case PanelFileKind::InstrumentList:
                files.renameFile(file(e.name), listFile());
                break;
            default:
                break;
            }
        }
    }
    ini.writeString(settingsFile(), QStringLiteral("Config"), QStringLiteral("PanelName"), m_name);
}

void PanelFolder::remove(FileSystem& files) const
{
    for (const DirEntry& e : files.list(file(QStringLiteral("*"))))
        files.deleteFile(file(e.name));
    if (files.folderExists(m_path))
        files.removeFolder(m_path);
}
