#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// Only the delimiter splits, nothing is trimmed. A part that begins with a double quote runs to the next
// undoubled quote (a doubled one stands for one quote); text after the closing quote up to the next
// delimiter is a part of its own. An empty text has no parts; a delimiter at the end adds an empty part.
QStringList SplitFields(const QString& text, QChar delimiter);
