#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class FileSystem;

// The chooser lists no more of a folder name after "Panel_", so a longer name could never be loaded.
inline constexpr int MaxPanelNameLength = 99;

// Why `name` cannot be a panel's name, or nothing when it can. Every panel name, wherever it comes from (a
// folder of the settings folder, the command line, the last used panel, a panel's settings file, an archive),
// becomes "Panel_" + name, one folder directly inside the settings folder, the names of files in it and a
// quoted word on the child programs' command lines: no separator, no "." or "..", no control character, no
// character Windows refuses in a file name, no character that could not be read, at most 99 characters.
std::optional<QString> panelNameProblem(const QString& name);

// The same for a name the user gives a new panel (New, Copy, Import), which must also travel: no blanks at
// either end, which Windows drops or keeps apart, and only code page 1252, the code page of the names in
// archives. Panels already on disk with such names still load.
std::optional<QString> newPanelNameProblem(const QString& name);

// Why the panel's folder in the settings folder, or its own files in that folder (its list and settings files),
// could not carry the name: too long for the file system's limit in bytes. Further entries the operation
// makes in the settings folder are checked with them. Nothing when it fits.
std::optional<QString> panelNameLengthProblem(const FileSystem& files, const QString& iniPath, const QString& name,
                                              const QStringList& furtherEntries = {});

// The panel name in the entry "Panel_<name>" of the settings folder, or nothing when the entry is no
// panel's: a folder whose name breaks the rule is never listed, found or opened.
std::optional<QString> panelNameOfEntry(const QString& entryName);

// The name the panel setup shows for the panel of folder `folderName` whose settings file says `stored`.
// The folder name is the panel's identity; the stored name is shown only where it is the same name in
// other letter case (a folder renamed on Windows, whose file names ignore case). Anything else, another
// panel's name or no panel's, is not the panel's name, and saving the setup then writes the folder's.
QString shownPanelName(const QString& folderName, const QString& stored);

// A name that came from outside, as a message may show it: control and format characters made visible,
// cut after the length a panel name may have.
QString printablePanelName(const QString& name);
