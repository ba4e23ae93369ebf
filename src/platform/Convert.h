#pragma once

#include <QString>
#include <optional>

// Integer texts as the stored files use them: decimal, or hexadecimal behind "$", "0x" or "0X".
// An optional sign and leading blanks are accepted; anything else is not a number.
std::optional<int> parseInteger(const QString& text);

// Throws "'<text>' is not a valid integer value" when the text is not a number.
int strToInt(const QString& text);

int strToIntDef(const QString& text, int defaultValue);
