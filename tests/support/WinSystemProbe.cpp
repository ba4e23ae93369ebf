#include "SystemProbe.h"

// Winsock's header first: it must come before the one windows.h pulls in.
#include <winsock2.h>

#include <windows.h>

#include <iphlpapi.h>
#include <psapi.h>

#include <string>
#include <vector>

namespace {

std::wstring wide(const QString& path)
{
    return path.toStdWString();
}

HANDLE openForAttributes(const QString& path, DWORD access)
{
    // Folders open only with backup semantics.
    return ::CreateFileW(wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// Counted from 1970, as on Linux.
constexpr qint64 kTicksFrom1601To1970 = 116444736000000000;

qint64 nanoseconds(const FILETIME& t)
{
    return (((qint64)t.dwHighDateTime << 32 | t.dwLowDateTime) - kTicksFrom1601To1970) * 100;
}

} // namespace

bool processRunning(qint64 pid)
{
    return !processGoneWithin(pid, 0);
}

bool processGoneWithin(qint64 pid, int ms)
{
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
    if (!process)
        return true; // no such process any more
    const bool gone = ::WaitForSingleObject(process, DWORD(ms)) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return gone;
}

void endProcess(qint64 pid)
{
    if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(pid))) {
        ::TerminateProcess(process, 1);
        ::CloseHandle(process);
    }
}

bool udpPortBound(quint16 port)
{
    ULONG size = 0;
    ::GetUdpTable(nullptr, &size, FALSE);
    std::vector<char> buffer(size);
    auto* table = reinterpret_cast<MIB_UDPTABLE*>(buffer.data());
    if (::GetUdpTable(table, &size, FALSE) != NO_ERROR)
        return false;
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
        if (ntohs(u_short(table->table[i].dwLocalPort)) == port)
            return true;
    }
    return false;
}

long residentKiB()
{
    PROCESS_MEMORY_COUNTERS counters{};
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return long(counters.WorkingSetSize / 1024);
}

FileStamp fileStamp(const QString& nativePath)
{
    HANDLE file = openForAttributes(nativePath, FILE_READ_ATTRIBUTES);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    BY_HANDLE_FILE_INFORMATION info{};
    FileStamp stamp;
    if (::GetFileInformationByHandle(file, &info))
        stamp = {info.dwVolumeSerialNumber, quint64(info.nFileIndexHigh) << 32 | info.nFileIndexLow,
                 nanoseconds(info.ftLastWriteTime)};
    ::CloseHandle(file);
    return stamp;
}

void setModifiedNs(const QString& nativePath, qint64 modifiedNs)
{
    HANDLE file = openForAttributes(nativePath, FILE_WRITE_ATTRIBUTES);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const quint64 ticks = quint64(modifiedNs / 100 + kTicksFrom1601To1970);
    const FILETIME t{DWORD(ticks), DWORD(ticks >> 32)};
    ::SetFileTime(file, nullptr, nullptr, &t);
    ::CloseHandle(file);
}

void setWritable(const QString& nativePath, bool writable)
{
    const DWORD a = ::GetFileAttributesW(wide(nativePath).c_str());
    if (a == INVALID_FILE_ATTRIBUTES)
        return;
    ::SetFileAttributesW(wide(nativePath).c_str(),
                         writable ? a & ~FILE_ATTRIBUTE_READONLY : a | FILE_ATTRIBUTE_READONLY);
}

long nameLimit(const QString& nativeFolder)
{
    std::wstring volume(MAX_PATH + 1, L'\0');
    DWORD component = 0;
    if (!::GetVolumePathNameW(wide(nativeFolder).c_str(), volume.data(), DWORD(volume.size())) ||
        !::GetVolumeInformationW(volume.c_str(), nullptr, 0, nullptr, &component, nullptr, nullptr, 0))
        return 255;
    return long(component);
}

int nameLength(const QString& name)
{
    return int(name.size());
}

void setPlainFolder(const QString& nativePath, bool plain)
{
    constexpr DWORD extra = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    const DWORD a = ::GetFileAttributesW(wide(nativePath).c_str());
    if (a != INVALID_FILE_ATTRIBUTES)
        ::SetFileAttributesW(wide(nativePath).c_str(), plain ? a & ~extra : a | extra);
}

std::shared_ptr<void> unreadableFile(const QString& nativePath)
{
    HANDLE file = ::CreateFileW(wide(nativePath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::shared_ptr<void>(file, [](HANDLE f) { ::CloseHandle(f); });
}

std::shared_ptr<void> holdWithoutSharing(const QString& nativePath)
{
    HANDLE file = ::CreateFileW(wide(nativePath).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::shared_ptr<void>(file, [](HANDLE f) { ::CloseHandle(f); });
}
