#include "PanelNames.h"

#include "PanelFolder.h"
#include "platform/Codepage.h"
#include "platform/FileSystem.h"

namespace {

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control;
}

} // namespace

std::optional<QString> panelNameProblem(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("Please enter a panel name.");
    if (name == u"." || name == u"..")
        return QStringLiteral("\"%1\" cannot be used as a panel name.").arg(name);
    for (const QChar c : name) {
        if (isControl(c))
            return QStringLiteral("A panel name cannot contain control characters.");
        if (QStringLiteral("/\\:*?\"<>|").contains(c))
            return QStringLiteral("A panel name cannot contain any of the characters / \\ : * ? \" < > |");
        // Stands for bytes that were no text: the name could not be told from others, nor lead back to them.
        if (c == QChar::ReplacementCharacter)
            return QStringLiteral("A panel name cannot contain characters that could not be read.");
    }
    if (name.size() > MaxPanelNameLength)
        return QStringLiteral("A panel name can have at most %1 characters.").arg(MaxPanelNameLength);
    return std::nullopt;
}

std::optional<QString> newPanelNameProblem(const QString& name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("Please enter a panel name.");
    if (name != name.trimmed())
        return QStringLiteral("A panel name cannot begin or end with a blank.");
    if (const auto problem = panelNameProblem(name))
        return problem;
    if (!isAnsiRepresentable(name))
        return QStringLiteral("A panel name can only use Western European letters and signs (code page 1252).");
    return std::nullopt;
}

std::optional<QString> panelNameLengthProblem(const FileSystem& files, const QString& iniPath, const QString& name,
                                              const QStringList& furtherEntries)
{
    bool fits = files.nameFits(iniPath, PanelFolder::EntryPrefix + name);
    for (const QString& entry : furtherEntries)
        fits = fits && files.nameFits(iniPath, entry);
    // The folder does not exist yet: its files lie on the settings folder's file system.
    const PanelFolder folder(iniPath, name);
    for (const QString& file : {folder.listFileName(), folder.settingsFileName()})
        fits = fits && files.nameFits(iniPath, file);
    if (!fits)
        return QStringLiteral("The panel name is too long for the file system's folder and file names. "
                              "Please choose a shorter name.");
    return std::nullopt;
}

std::optional<QString> panelNameOfEntry(const QString& entryName)
{
    if (!entryName.startsWith(PanelFolder::EntryPrefix))
        return std::nullopt;
    const QString name = entryName.mid(PanelFolder::EntryPrefix.size());
    if (panelNameProblem(name))
        return std::nullopt;
    return name;
}

QString shownPanelName(const QString& folderName, const QString& stored)
{
    if (stored.compare(folderName, Qt::CaseInsensitive) == 0 && !panelNameProblem(stored))
        return stored;
    return folderName;
}

QString printablePanelName(const QString& name)
{
    QString shown = name.left(MaxPanelNameLength);
    if (!shown.isEmpty() && shown.back().isHighSurrogate() && name.size() > MaxPanelNameLength)
        shown.chop(1);
    for (QChar& c : shown) {
        if (isControl(c) || c.category() == QChar::Other_Format)
            c = QChar::ReplacementCharacter;
    }
    if (name.size() > MaxPanelNameLength)
        shown += QChar(0x2026); // …
    return shown;
}
