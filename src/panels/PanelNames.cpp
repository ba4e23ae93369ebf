#include "PanelNames.h"

#include "PanelFiles.h"
#include "platform/Codepage.h"
#include "platform/FileSystem.h"

std::optional<QString> panelNameProblem(const QString& name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("Please enter a panel name.");
    if (name != name.trimmed())
        return QStringLiteral("A panel name cannot begin or end with a blank.");
    if (name == u"." || name == u"..")
        return QStringLiteral("\"%1\" cannot be used as a panel name.").arg(name);
    for (const QChar c : name) {
        if (c.unicode() < 32 || c.unicode() == 127)
            return QStringLiteral("A panel name cannot contain control characters.");
        if (QStringLiteral("/\\:*?\"<>|").contains(c))
            return QStringLiteral("A panel name cannot contain any of the characters / \\ : * ? \" < > |");
    }
    if (!isAnsiRepresentable(name))
        return QStringLiteral("A panel name can only use Western European letters and signs (code page 1252).");
    return std::nullopt;
}

std::optional<QString> panelNameLengthProblem(const FileSystem& files, const QString& iniPath, const QString& name,
                                              const QStringList& furtherEntries)
{
    if (name.size() > MaxPanelNameLength)
        return QStringLiteral("A panel name can have at most %1 characters.").arg(MaxPanelNameLength);
    bool fits = files.nameFits(iniPath, PanelFolderPrefix + name);
    for (const QString& entry : furtherEntries)
        fits = fits && files.nameFits(iniPath, entry);
    // The folder does not exist yet: its files lie on the settings folder's file system.
    for (const char* extension : {".cfg", ".ini"})
        fits = fits && files.nameFits(iniPath, name + QLatin1String(extension));
    if (!fits)
        return QStringLiteral("The panel name is too long for the file system's folder and file names. "
                              "Please choose a shorter name.");
    return std::nullopt;
}
