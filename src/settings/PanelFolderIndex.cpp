#include "PanelFolderIndex.h"

#include "PanelFolder.h"
#include "PanelNames.h"
#include "platform/Paths.h"

std::optional<QString> PanelFolderIndex::firstContaining(const FileSystem& files, const QString& iniPath,
                                                         const QString& text)
{
    // Looked at before listing: a change made during the listing then shows at the next lookup.
    const std::optional<FolderStamp> stamp = files.folderStamp(iniPath);
    const bool current =
        stamp && m_stamp && m_stamp->settled && m_stamp->sameFolderState(*stamp) && m_iniPath == iniPath;
    if (!current) {
        m_names.clear();
        for (const DirEntry& e : files.list(joinPath(iniPath, PanelFolder::EntryPrefix + u'*'))) {
            if (panelNameOfEntry(e.name))
                m_names.push_back(e.name);
        }
        m_stamp = stamp;
        m_iniPath = iniPath;
    }
    // Whether a name is a plain folder can change without its parent changing (its mode): asked afresh.
    for (const QString& name : m_names) {
        if (!name.contains(text, Qt::CaseSensitive))
            continue;
        const std::optional<DirEntry> e = files.entry(joinPath(iniPath, name));
        if (e && e->isPlainDirectory())
            return name;
    }
    return std::nullopt;
}
