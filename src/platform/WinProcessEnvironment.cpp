#include "Environment.h"

#include <windows.h>

#include <string>

QString ProcessEnvironment::variable(const QString& name) const
{
    const std::wstring key = name.toStdWString();
    // The length first (terminator included), then the value; unset or empty gives the empty text.
    const DWORD size = ::GetEnvironmentVariableW(key.c_str(), nullptr, 0);
    if (size <= 1)
        return {};
    std::wstring value(size, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(key.c_str(), value.data(), size);
    if (length == 0 || length >= size)
        return {};
    value.resize(length);
    return QString::fromStdWString(value);
}

QString ProcessEnvironment::executablePath() const
{
    // The system's own spelling, "\" separators: the program folder is stored as it gives it.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return QString::fromStdWString(path);
        }
        path.resize(path.size() * 2); // cut: a long path
    }
}

QString ProcessEnvironment::currentDirectory() const
{
    const DWORD size = ::GetCurrentDirectoryW(0, nullptr);
    if (size == 0)
        return {};
    std::wstring path(size, L'\0');
    const DWORD length = ::GetCurrentDirectoryW(size, path.data());
    if (length == 0 || length >= size)
        return {};
    path.resize(length);
    return QString::fromStdWString(path);
}
