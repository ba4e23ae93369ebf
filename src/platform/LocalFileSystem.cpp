#include "LocalFileSystem.h"

#include "Paths.h"

#include <QDir>
#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <utility>

namespace {

QByteArray osPath(const QString& stored)
{
    return QFile::encodeName(nativePath(stored));
}

bool statPath(const QString& stored, struct stat& st)
{
    return ::stat(osPath(stored).constData(), &st) == 0;
}

// An entry of a folder, described as a Windows listing would; a link is taken for what it points to.
std::optional<DirEntry> describe(const QString& folder, const QString& name)
{
    struct stat st
    {};
    const QByteArray full = QFile::encodeName(folder + u'/' + name);
    if (::stat(full.constData(), &st) != 0 && ::lstat(full.constData(), &st) != 0)
        return std::nullopt;
    DirEntry entry;
    entry.name = name;
    entry.directory = S_ISDIR(st.st_mode);
    entry.hidden = name.startsWith(u'.');
    entry.readOnly = !(st.st_mode & S_IWUSR);
    return entry;
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

bool LocalFileSystem::folderExists(const QString& path) const
{
    struct stat st
    {};
    return statPath(path, st) && S_ISDIR(st.st_mode);
}

bool LocalFileSystem::fileExists(const QString& path) const
{
    struct stat st
    {};
    return statPath(path, st) && !S_ISDIR(st.st_mode);
}

bool LocalFileSystem::createFolder(const QString& path)
{
    return ::mkdir(osPath(path).constData(), 0777) == 0;
}

bool LocalFileSystem::removeFolder(const QString& path)
{
    return ::rmdir(osPath(path).constData()) == 0;
}

bool LocalFileSystem::copyFile(const QString& from, const QString& to, bool failIfExists)
{
    if (failIfExists && fileExists(to))
        return false;
    QByteArray data;
    return readFile(from, data) && writeFile(to, data);
}

bool LocalFileSystem::renameFile(const QString& from, const QString& to)
{
    struct stat st
    {};
    if (statPath(to, st))
        return false;
    return ::rename(osPath(from).constData(), osPath(to).constData()) == 0;
}

bool LocalFileSystem::deleteFile(const QString& path)
{
    if (folderExists(path))
        return false;
    return ::unlink(osPath(path).constData()) == 0;
}

bool LocalFileSystem::nameFits(const QString& folder, const QString& name) const
{
    long limit = ::pathconf(osPath(folder).constData(), _PC_NAME_MAX);
    // A folder that is not there yet lies on the usual kind of file system.
    if (limit <= 0)
        limit = NAME_MAX;
    // Saves go through a temporary file named after the target plus ".XXXXXX".
    constexpr int temporarySuffix = 7;
    return QFile::encodeName(name).size() + temporarySuffix <= limit;
}

QString LocalFileSystem::absolutePath(const QString& path) const
{
    QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(nativePath(path)));
    return absolute.replace(u'/', u'\\');
}

std::vector<DirEntry> LocalFileSystem::list(const QString& folderAndPattern) const
{
    const QString native = nativePath(folderAndPattern);
    const qsizetype slash = native.lastIndexOf(u'/');
    const QString folder = slash < 0 ? QStringLiteral(".") : (slash == 0 ? QStringLiteral("/") : native.left(slash));
    const QString pattern = native.mid(slash + 1);

    std::vector<DirEntry> entries;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return entries;
    while (const dirent* e = ::readdir(dir)) {
        const QString name = QFile::decodeName(e->d_name);
        if (name == u"." || name == u".." || !matchesWildcard(name, pattern))
            continue;
        if (std::optional<DirEntry> entry = describe(folder, name))
            entries.push_back(std::move(*entry));
    }
    ::closedir(dir);
    return entries;
}

std::optional<DirEntry> LocalFileSystem::entry(const QString& path) const
{
    const QString native = nativePath(path);
    const qsizetype slash = native.lastIndexOf(u'/');
    if (slash < 0)
        return describe(QStringLiteral("."), native);
    return describe(slash == 0 ? QStringLiteral("/") : native.left(slash), native.mid(slash + 1));
}

std::optional<FolderStamp> LocalFileSystem::folderStamp(const QString& path) const
{
    struct stat st
    {};
    if (!statPath(path, st) || !S_ISDIR(st.st_mode))
        return std::nullopt;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const auto ns = [](const timespec& t) { return (long long)t.tv_sec * 1'000'000'000 + t.tv_nsec; };
    FolderStamp stamp;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.modifiedNs = ns(st.st_mtim);
    stamp.changedNs = ns(st.st_ctim);
    // Coarse file systems keep two seconds: a change within that of this look might leave the time as it is.
    // Any later change moves both times to its own moment, which an older time cannot equal.
    constexpr long long kGranularityNs = 2'000'000'000;
    stamp.settled = ns(now) - stamp.modifiedNs > kGranularityNs;
    return stamp;
}

namespace {

class LocalStagedFile : public StagedFile
{
public:
    LocalStagedFile(QByteArray target, QByteArray temporary, int fd)
        : m_target(std::move(target)), m_temporary(std::move(temporary)), m_fd(fd)
    {}
    ~LocalStagedFile() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_committed)
            ::unlink(m_temporary.constData());
    }

    bool write(const char* data, qint64 size) override
    {
        while (size > 0) {
            const ssize_t n = ::write(m_fd, data, size_t(size));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return fail();
            }
            data += n;
            size -= n;
        }
        return true;
    }
    bool finish(bool durable) override
    {
        if (durable && ::fsync(m_fd) != 0)
            return fail();
        const int fd = std::exchange(m_fd, -1);
        return ::close(fd) == 0 || fail();
    }
    bool commit() override
    {
        if (m_fd >= 0 && !finish(false))
            return false;
        if (::rename(m_temporary.constData(), m_target.constData()) != 0)
            return fail();
        m_committed = true;
        return true;
    }
    QString errorString() const override { return m_error; }

private:
    bool fail()
    {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }

    QByteArray m_target, m_temporary;
    int m_fd;
    bool m_committed = false;
    QString m_error;
};

} // namespace

std::unique_ptr<StagedFile> LocalFileSystem::stageFile(const QString& path, QString* error)
{
    const QByteArray target = osPath(path);
    const qsizetype slash = target.lastIndexOf('/');
    // Hidden, beside the target, so the final rename stays on one file system and listings skip it.
    const QByteArray stem = target.left(slash + 1) + ".~" + target.mid(slash + 1).left(200) + '.';
    static std::atomic<quint32> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray temporary = stem + QByteArray::number(quint64(::getpid()) << 32 | counter++, 36) + ".tmp";
        // The mode the umask leaves, as for any new file.
        const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return std::make_unique<LocalStagedFile>(target, temporary, fd);
        if (errno != EEXIST)
            break;
    }
    setError(error, QString::fromLocal8Bit(std::strerror(errno)));
    return nullptr;
}

qint64 LocalFileSystem::freeSpace(const QString& path) const
{
    QByteArray p = osPath(path);
    for (;;) {
        struct statvfs st
        {};
        if (::statvfs(p.isEmpty() ? "." : p.constData(), &st) == 0)
            return qint64(st.f_bavail) * qint64(st.f_frsize);
        if (errno != ENOENT && errno != ENOTDIR)
            return -1;
        const qsizetype slash = p.lastIndexOf('/');
        if (slash < 0)
            p.clear();
        else if (slash == 0)
            p = "/";
        else
            p.truncate(slash);
    }
}
