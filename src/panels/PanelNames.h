#pragma once

#include <QString>

#include <optional>

// Why a name entered by the user cannot be a panel name, or nothing when it can. A panel name becomes a folder
// name here and on the Windows PCs panels travel to, and a word on child programs' command lines.
std::optional<QString> panelNameProblem(const QString& name);
