#include "Codepage.h"

#include <array>

namespace {

// 0x80..0x9F; the five bytes Windows leaves undefined map to the C1 controls of the same value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int ansiByte(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < int(kHigh.size()); ++i) {
        if (kHigh[i] == u)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

QByteArray toAnsi(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // A surrogate pair is one character that no single byte can hold: one "?" for it.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        const int b = ansiByte(c.unicode());
        out.append(b < 0 ? '?' : char(b));
    }
    return out;
}

QString fromAnsi(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out.append(QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b)));
    }
    return out;
}

bool isAnsiRepresentable(const QString& text)
{
    for (const QChar c : text) {
        if (ansiByte(c.unicode()) < 0)
            return false;
    }
    return true;
}
