#include "PanelFolders.h"

#include "Folders.h"
#include "PanelNames.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

PanelFolder PanelFolders::folder(const QString& name) const
{
    return PanelFolder(m_folders.IniPath, name);
}

QStringList PanelFolders::names() const
{
    QStringList names;
    for (const DirEntry& e : m_files.list(joinPath(m_folders.IniPath, PanelFolder::EntryPrefix + u'*'))) {
        if (e.hidden)
            continue;
        if (const std::optional<QString> name = panelNameOfEntry(e.name))
            names << *name;
    }
    return names;
}

std::optional<QString> PanelFolders::find(const QString& name) const
{
    // A name from the command line, the settings file or a file is looked at before it becomes a path.
    if (panelNameProblem(name))
        return std::nullopt;
    if (m_files.folderExists(folder(name).path()))
        return name;
    return std::nullopt;
}

std::optional<QString> PanelFolders::findContaining(const QString& text) const
{
    if (text.isEmpty())
        return std::nullopt;
    const std::optional<QString> entry = m_index.firstContaining(m_files, m_folders.IniPath, text);
    if (!entry)
        return std::nullopt;
    return entry->mid(PanelFolder::EntryPrefix.size());
}
