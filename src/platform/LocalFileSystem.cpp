#include "LocalFileSystem.h"

#include "Paths.h"

#include <QFile>
#include <QSaveFile>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>

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

bool matchFrom(const QString& name, qsizetype n, const QString& pattern, qsizetype p)
{
    while (p < pattern.size()) {
        const QChar pc = pattern.at(p);
        if (pc == u'*') {
            // "*.*" at the end stands for any name, with or without a dot.
            if (pattern.mid(p) == QLatin1String("*.*"))
                return true;
            for (qsizetype k = n; k <= name.size(); ++k) {
                if (matchFrom(name, k, pattern, p + 1))
                    return true;
            }
            return false;
        }
        if (n >= name.size())
            return false;
        if (pc != u'?' && pc.toCaseFolded() != name.at(n).toCaseFolded())
            return false;
        ++n;
        ++p;
    }
    return n == name.size();
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

std::optional<DirEntry> FileSystem::entry(const QString& path) const
{
    const QString name = path.mid(path.lastIndexOf(u'\\') + 1);
    // The name taken as a pattern may match others too ("?" and "*" are allowed in Linux names).
    for (DirEntry& e : list(path)) {
        if (e.name == name)
            return std::move(e);
    }
    return std::nullopt;
}

bool matchesWildcard(const QString& name, const QString& pattern)
{
    return matchFrom(name, 0, pattern, 0);
}

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

bool LocalFileSystem::readFile(const QString& path, QByteArray& data, QString* error) const
{
    QFile f(nativePath(path));
    if (!f.open(QIODevice::ReadOnly)) {
        setError(error, f.errorString());
        return false;
    }
    data = f.readAll();
    if (f.error() != QFile::NoError) {
        setError(error, f.errorString());
        return false;
    }
    return true;
}

bool LocalFileSystem::writeFile(const QString& path, const QByteArray& data, QString* error)
{
    QSaveFile f(nativePath(path));
    if (!f.open(QIODevice::WriteOnly)) {
        setError(error, f.errorString());
        return false;
    }
    if (f.write(data) != data.size() || !f.commit()) {
        setError(error, f.errorString());
        f.cancelWriting();
        return false;
    }
    return true;
}
