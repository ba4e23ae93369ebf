#include "WinProfileIni.h"

#include "Errors.h"
#include "Paths.h"

#include <windows.h>

#include <string>

namespace {

// Values are read up to this many characters, the terminator not counted.
constexpr DWORD kValueLength = 2047;

std::wstring wide(const QString& text)
{
    return text.toStdWString();
}

} // namespace

QString WinProfileIni::readString(const QString& file, const QString& section, const QString& key,
                                  const QString& defaultValue) const
{
    std::wstring value(kValueLength + 1, L'\0');
    const DWORD length =
        ::GetPrivateProfileStringW(wide(section).c_str(), wide(key).c_str(), wide(defaultValue).c_str(), value.data(),
                                   DWORD(value.size()), wide(nativePath(file)).c_str());
    value.resize(length);
    return QString::fromStdWString(value);
}

void WinProfileIni::writeString(const QString& file, const QString& section, const QString& key, const QString& value)
{
    const QString path = nativePath(file);
    // A read-only file refuses a change for every user, as Windows itself has it (Wine running as root would
    // write through it); the value it already holds is no change. No stored value holds a line break, so that
    // default tells a missing key from an empty value.
    const DWORD attributes = ::GetFileAttributesW(wide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        if (readString(file, section, key, QStringLiteral("\n")) == value)
            return;
        throw unableToWrite(path);
    }
    if (!::WritePrivateProfileStringW(wide(section).c_str(), wide(key).c_str(), wide(value).c_str(),
                                      wide(path).c_str()))
        throw unableToWrite(path);
}
