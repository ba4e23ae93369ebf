#pragma once

#include "PanelFolder.h"
#include "PanelFolderIndex.h"

#include <QString>
#include <QStringList>

#include <optional>

class FileSystem;
struct Folders;

// The panels of the settings folder: which there are, and finding one. Every name it gives keeps the panel
// name rule and reads no file of the panel.
class PanelFolders
{
public:
    // `folders` is read at each call: the settings folder is resolved after this is made.
    PanelFolders(const FileSystem& files, const Folders& folders) : m_files(files), m_folders(folders) {}

    PanelFolder folder(const QString& name) const;

    // The panel names of the settings folder, in the file system's order, leaving out hidden entries.
    QStringList names() const;
    // The name when it keeps the panel name rule and the panel's folder exists.
    std::optional<QString> find(const QString& name) const;
    // The first panel, in the file system's order, whose folder name contains `text` (letter case counts).
    std::optional<QString> findContaining(const QString& text) const;

private:
    const FileSystem& m_files;
    const Folders& m_folders;
    // Only a cache: asking changes nothing anybody sees.
    mutable PanelFolderIndex m_index;
};
