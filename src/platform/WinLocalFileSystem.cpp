#include "LocalFileSystem.h"

#include "Paths.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <utility>

namespace {

std::wstring osPath(const QString& stored)
{
    return nativePath(stored).toStdWString();
}

DWORD attributes(const QString& stored)
{
    return ::GetFileAttributesW(osPath(stored).c_str());
}

DirEntry describe(const WIN32_FIND_DATAW& found)
{
    DirEntry entry;
    entry.name = QString::fromWCharArray(found.cFileName);
    const DWORD a = found.dwFileAttributes;
    entry.directory = a & FILE_ATTRIBUTE_DIRECTORY;
    entry.hidden = a & FILE_ATTRIBUTE_HIDDEN;
    entry.readOnly = a & FILE_ATTRIBUTE_READONLY;
    entry.otherAttributes = a & ~DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    return entry;
}

QString lastErrorText()
{
    return qt_error_string(int(::GetLastError()));
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// 100-nanosecond ticks since 1601 overflow 64 bits as nanoseconds: counted from 1970, as on Linux.
constexpr long long kTicksFrom1601To1970 = 116444736000000000;

long long nanoseconds(long long ticks)
{
    return (ticks - kTicksFrom1601To1970) * 100;
}

long long nanoseconds(const FILETIME& t)
{
    return nanoseconds((long long)t.dwHighDateTime << 32 | t.dwLowDateTime);
}

} // namespace

bool LocalFileSystem::folderExists(const QString& path) const
{
    const DWORD a = attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool LocalFileSystem::fileExists(const QString& path) const
{
    const DWORD a = attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool LocalFileSystem::createFolder(const QString& path)
{
    return ::CreateDirectoryW(osPath(path).c_str(), nullptr);
}

bool LocalFileSystem::removeFolder(const QString& path)
{
    return ::RemoveDirectoryW(osPath(path).c_str());
}

bool LocalFileSystem::copyFile(const QString& from, const QString& to, bool failIfExists)
{
    return ::CopyFileW(osPath(from).c_str(), osPath(to).c_str(), failIfExists);
}

bool LocalFileSystem::renameFile(const QString& from, const QString& to)
{
    // Without MOVEFILE_REPLACE_EXISTING an existing target makes it fail.
    return ::MoveFileW(osPath(from).c_str(), osPath(to).c_str());
}

bool LocalFileSystem::deleteFile(const QString& path)
{
    return ::DeleteFileW(osPath(path).c_str());
}

bool LocalFileSystem::nameFits(const QString& folder, const QString& name) const
{
    // The limit of the volume the folder lies on; a folder not there yet lies on the usual kind.
    DWORD limit = 255;
    std::wstring volume(MAX_PATH + 1, L'\0');
    DWORD component = 0;
    if (::GetVolumePathNameW(osPath(folder).c_str(), volume.data(), DWORD(volume.size())) &&
        ::GetVolumeInformationW(volume.c_str(), nullptr, 0, nullptr, &component, nullptr, nullptr, 0) && component > 0)
        limit = component;
    // Whole-file saves go through a temporary file named after the target plus ".XXXXXX".
    constexpr int temporarySuffix = 7;
    return DWORD(name.size() + temporarySuffix) <= limit;
}

QString LocalFileSystem::absolutePath(const QString& path) const
{
    const std::wstring relative = osPath(path);
    const DWORD size = ::GetFullPathNameW(relative.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return nativePath(path);
    std::wstring full(size, L'\0');
    const DWORD length = ::GetFullPathNameW(relative.c_str(), size, full.data(), nullptr);
    full.resize(length < size ? length : 0);
    // A folder named with or without its trailing separator is one place; a drive's root keeps it ("C:\").
    if (full.size() > 3 && full.back() == L'\\')
        full.pop_back();
    return QString::fromStdWString(full);
}

std::vector<DirEntry> LocalFileSystem::list(const QString& folderAndPattern) const
{
    std::vector<DirEntry> entries;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(osPath(folderAndPattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        const QString name = QString::fromWCharArray(found.cFileName);
        if (name != u"." && name != u"..")
            entries.push_back(describe(found));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return entries;
}

std::optional<DirEntry> LocalFileSystem::entry(const QString& path) const
{
    // Windows names hold no wildcard, so the path finds at most its own entry, spelt as the disk has it.
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(osPath(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return std::nullopt;
    ::FindClose(search);
    return describe(found);
}

std::optional<FolderStamp> LocalFileSystem::folderStamp(const QString& path) const
{
    // A folder opens only with backup semantics; reading its times needs no access right.
    HANDLE folder = ::CreateFileW(osPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO basic{};
    const bool ok = ::GetFileInformationByHandle(folder, &info) &&
                    ::GetFileInformationByHandleEx(folder, FileBasicInfo, &basic, sizeof basic);
    ::CloseHandle(folder);
    if (!ok || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;

    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    FolderStamp stamp;
    stamp.device = info.dwVolumeSerialNumber;
    stamp.inode = (unsigned long long)info.nFileIndexHigh << 32 | info.nFileIndexLow;
    stamp.modifiedNs = nanoseconds(info.ftLastWriteTime);
    stamp.changedNs = nanoseconds(basic.ChangeTime.QuadPart);
    // FAT keeps two seconds: a change within that of this look might leave the time as it is.
    constexpr long long kGranularityNs = 2'000'000'000;
    stamp.settled = nanoseconds(now) - stamp.modifiedNs > kGranularityNs;
    return stamp;
}

namespace {

class LocalStagedFile : public StagedFile
{
public:
    LocalStagedFile(std::wstring target, std::wstring temporary, HANDLE file)
        : m_target(std::move(target)), m_temporary(std::move(temporary)), m_file(file)
    {}
    ~LocalStagedFile() override
    {
        if (m_file != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_file);
        if (!m_committed)
            ::DeleteFileW(m_temporary.c_str());
    }

    bool write(const char* data, qint64 size) override
    {
        while (size > 0) {
            const DWORD chunk = DWORD(std::min<qint64>(size, 1 << 30));
            DWORD written = 0;
            if (!::WriteFile(m_file, data, chunk, &written, nullptr))
                return fail();
            data += written;
            size -= written;
        }
        return true;
    }
    bool finish(bool durable) override
    {
        if (durable && !::FlushFileBuffers(m_file))
            return fail();
        const HANDLE file = std::exchange(m_file, INVALID_HANDLE_VALUE);
        return ::CloseHandle(file) || fail();
    }
    bool commit() override
    {
        if (m_file != INVALID_HANDLE_VALUE && !finish(false))
            return false;
        // Hidden while it was being written; the finished file takes the target's name as a plain file.
        ::SetFileAttributesW(m_temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!::MoveFileExW(m_temporary.c_str(), m_target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return fail();
        m_committed = true;
        return true;
    }
    QString errorString() const override { return m_error; }

private:
    bool fail()
    {
        m_error = lastErrorText();
        return false;
    }

    std::wstring m_target, m_temporary;
    HANDLE m_file;
    bool m_committed = false;
    QString m_error;
};

} // namespace

std::unique_ptr<StagedFile> LocalFileSystem::stageFile(const QString& path, QString* error)
{
    const QString target = nativePath(path);
    const qsizetype slash = target.lastIndexOf(u'\\');
    // Hidden, beside the target, so the final rename stays on one volume and listings skip it.
    const QString stem = target.left(slash + 1) + QStringLiteral(".~") + target.mid(slash + 1).left(200) + u'.';
    static std::atomic<quint32> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const quint64 unique = quint64(::GetCurrentProcessId()) << 32 | counter++;
        const std::wstring temporary = (stem + QString::number(unique, 36) + QStringLiteral(".tmp")).toStdWString();
        HANDLE file =
            ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return std::make_unique<LocalStagedFile>(target.toStdWString(), temporary, file);
        if (::GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    setError(error, lastErrorText());
    return nullptr;
}

qint64 LocalFileSystem::freeSpace(const QString& path) const
{
    QString p = nativePath(path);
    for (;;) {
        ULARGE_INTEGER available{};
        if (::GetDiskFreeSpaceExW(p.isEmpty() ? L"." : p.toStdWString().c_str(), &available, nullptr, nullptr))
            return qint64(available.QuadPart);
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_DIRECTORY)
            return -1;
        const qsizetype slash = p.lastIndexOf(u'\\');
        if (slash < 0)
            p.clear();
        else
            p.truncate(slash);
    }
}
