#pragma once

#include "platform/FileSystem.h"

#include <QString>

#include <optional>
#include <vector>

// The names of the panel folders of the settings folder in listing order, listed again only when the settings
// folder has changed since. The aircraft lookup runs for every control record; listing and examining every
// entry each time would make a flood of unknown aircraft names cost a folder scan each.
class PanelFolderIndex
{
public:
    // The first entry "Panel_*" of iniPath, in the file system's order, that is a plain folder, whose name
    // contains text (letter case counts) and carries a panel name that keeps the rule: exactly what a fresh
    // listing would give.
    std::optional<QString> firstContaining(const FileSystem& files, const QString& iniPath, const QString& text);

private:
    QString m_iniPath;
    std::optional<FolderStamp> m_stamp;
    std::vector<QString> m_names;
};
