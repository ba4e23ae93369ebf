#include "LocaleService.h"

#include <windows.h>

#include <string>

// The user's settings are asked at each use, so a change in the control panel applies at once, as it does
// for every other program.
struct SystemLocale::Private
{};

SystemLocale::SystemLocale() = default;
SystemLocale::~SystemLocale() = default;

QChar SystemLocale::decimalSeparator() const
{
    wchar_t separator[8] = {};
    if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) < 2)
        return u'.';
    return QChar(separator[0]);
}

int SystemLocale::compare(const QString& a, const QString& b) const
{
    // The word sort of the user's locale: lower case before upper case of the same letter, "-" and "'" all but
    // ignored. Texts it holds equal are put in code order, so the order does not hang on the sort's stability.
    if (const int c = ::lstrcmpW(a.toStdWString().c_str(), b.toStdWString().c_str()))
        return c;
    return QString::compare(a, b);
}
