#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Why a name entered by the user cannot be a panel name, or nothing when it can. A panel name becomes a folder
// name here and on the Windows PCs panels travel to, and a word on child programs' command lines.
std::optional<QString> panelNameProblem(const QString& name);

class FileSystem;

// The panel chooser lists no more of a folder name after "Panel_", so a longer name could never be loaded.
inline constexpr int MaxPanelNameLength = 99;

// Why the panel's folder in the settings folder, or its own files in that folder (name + ".cfg", ".ini"),
// could not carry the name: too long for the chooser, or for the file system's limit in bytes. Further
// entries the operation makes in the settings folder are checked with them. Nothing when it fits.
std::optional<QString> panelNameLengthProblem(const FileSystem& files, const QString& iniPath, const QString& name,
                                              const QStringList& furtherEntries = {});
