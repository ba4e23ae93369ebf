#include "PanelNames.h"

#include "platform/Codepage.h"

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
