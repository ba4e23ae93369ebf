#include "Convert.h"

#include "Errors.h"

namespace {

int digitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (base == 16 && u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (base == 16 && u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

std::optional<int> parseInteger(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text.at(i) == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && text.at(i) == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && text.at(i) == u'0' && (text.at(i + 1) == u'x' || text.at(i + 1) == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return std::nullopt;

    quint64 value = 0;
    for (; i < n; ++i) {
        const int digit = digitValue(text.at(i), base);
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if (base == 10) {
        const quint64 limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
        if (value > limit)
            return std::nullopt;
        return negative ? int(-qint64(value)) : int(value);
    }
    // Hexadecimal texts cover the whole 32-bit pattern, so "$FFFFFFFF" is -1; a sign negates that pattern
    // modulo 2^32, which keeps "-$80000000" at the lowest integer instead of overflowing.
    const quint32 bits = negative ? 0u - quint32(value) : quint32(value);
    return int(bits);
}

int strToInt(const QString& text)
{
    if (const auto value = parseInteger(text))
        return *value;
    throw VarnoltError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

int strToIntDef(const QString& text, int defaultValue)
{
    return parseInteger(text).value_or(defaultValue);
}
