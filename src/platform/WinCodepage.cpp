#include "Codepage.h"

#include <windows.h>

namespace {

// No best fit: a character the code page lacks becomes "?", never a look-alike that reads back as another.
constexpr DWORD kExactOnly = WC_NO_BEST_FIT_CHARS;

// A character beyond the 16-bit range is one character, which no ANSI code page holds: one "?" for it, where
// the conversion would give one for each of its two halves.
QString singleUnits(const QString& text)
{
    QString out = text;
    for (qsizetype i = out.size() - 1; i > 0; --i) {
        if (out.at(i).isLowSurrogate() && out.at(i - 1).isHighSurrogate())
            out.replace(--i, 2, QChar(QChar::ReplacementCharacter));
    }
    return out;
}

} // namespace

QByteArray toAnsi(const QString& original)
{
    if (original.isEmpty())
        return {};
    const QString text = singleUnits(original);
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int size = ::WideCharToMultiByte(CP_ACP, kExactOnly, wide, int(text.size()), nullptr, 0, "?", nullptr);
    QByteArray out(size, Qt::Uninitialized);
    ::WideCharToMultiByte(CP_ACP, kExactOnly, wide, int(text.size()), out.data(), size, "?", nullptr);
    return out;
}

QString fromAnsi(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {};
    const int size = ::MultiByteToWideChar(CP_ACP, 0, bytes.constData(), int(bytes.size()), nullptr, 0);
    QString out(size, Qt::Uninitialized);
    ::MultiByteToWideChar(CP_ACP, 0, bytes.constData(), int(bytes.size()), reinterpret_cast<wchar_t*>(out.data()),
                          size);
    return out;
}

bool isAnsiRepresentable(const QString& text)
{
    if (text.isEmpty())
        return true;
    BOOL usedDefault = FALSE;
    ::WideCharToMultiByte(CP_ACP, kExactOnly, reinterpret_cast<const wchar_t*>(text.utf16()), int(text.size()), nullptr,
                          0, "?", &usedDefault);
    return !usedDefault;
}
