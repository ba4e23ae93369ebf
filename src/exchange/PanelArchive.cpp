#include "PanelArchive.h"

#include "ArchiveCodec.h"

#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <atomic>
#include <limits>
#include <thread>
#include <vector>

namespace {

struct FileJob
{
    QString folder; // relative, "" or ending with "\"
    QString name;
    QString path;
};

struct PackedFile
{
    QByteArray entry; // header and data; empty when the file is left out
    QString error;
};

QString withSeparator(QString path)
{
    if (!path.isEmpty() && !path.endsWith(u'\\'))
        path += u'\\';
    return path;
}

QString absolute(const QString& storedPath)
{
    return QDir::cleanPath(QFileInfo(nativePath(storedPath)).absoluteFilePath());
}

void collectFiles(const FileSystem& files, const QString& root, const QString& relative, bool recursive,
                  const QString& leaveOut, std::vector<FileJob>& jobs)
{
    for (const DirEntry& e : files.list(root + relative + QStringLiteral("*.*"))) {
        if (e.directory) {
            if (recursive)
                collectFiles(files, root, relative + e.name + u'\\', recursive, leaveOut, jobs);
            continue;
        }
        // A "\" inside a name cannot travel: readers split it as a folder.
        const QString path = root + relative + e.name;
        if (!e.name.contains(u'\\') && (leaveOut.isEmpty() || absolute(path) != leaveOut))
            jobs.push_back({relative, e.name, path});
    }
}

PackedFile packFile(const FileSystem& files, const FileJob& job, const ArchiveOptions& options)
{
    // Runs on a worker thread: every failure is handed back, never thrown across the thread.
    PackedFile result;
    try {
        QByteArray data;
        if (!files.readFile(job.path, data) || data.isEmpty())
            return result; // unreadable and empty files are simply not stored
        if (data.size() > std::numeric_limits<qint32>::max()) {
            result.error = QStringLiteral("File \"%1\" is too large for an archive").arg(nativePath(job.path));
            return result;
        }
        const QByteArray packed = archive::deflateData(data, options.level);
        archive::appendEntry(result.entry, options.storeFolders ? toAnsi(job.folder) : QByteArray(), toAnsi(job.name),
                             qint32(data.size()), packed);
    } catch (const VarnoltError& e) {
        result.error = e.message();
    } catch (const std::exception& e) {
        result.error = QString::fromLocal8Bit(e.what());
    }
    return result;
}

QString entryPath(const archive::EntryHeader& h)
{
    return fromAnsi(h.folder + h.name);
}

bool isDriveLetter(const QString& part)
{
    return part.size() >= 2 && part.at(1) == u':' && part.at(0).isLetter();
}

// An entry may only name a file below the target folder.
bool staysInside(const archive::EntryHeader& h)
{
    const QString folder = fromAnsi(h.folder);
    const QString name = fromAnsi(h.name);
    const auto hasControl = [](const QString& s) {
        return std::any_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 0x20; });
    };
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'\\') || name.contains(u'/') ||
        isDriveLetter(name) || hasControl(name) || hasControl(folder))
        return false;
    if (folder.startsWith(u'\\') || folder.startsWith(u'/') || isDriveLetter(folder))
        return false;
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    const QStringList parts = folder.split(separators);
    return !parts.contains(QStringLiteral(".."));
}

} // namespace

PanelArchive::PanelArchive(FileSystem& files, ArchiveOptions options) : m_files(files), m_options(options) {}

QByteArray PanelArchive::pack(const QString& folder, const QString& leaveOut) const
{
    std::vector<FileJob> jobs;
    collectFiles(m_files, withSeparator(folder), QString(), m_options.recursive,
                 leaveOut.isEmpty() ? QString() : absolute(leaveOut), jobs);

    // Each entry is its own zlib stream, so files compress independently; assembling them in listing
    // order keeps the bytes the same whatever the number of threads.
    std::vector<PackedFile> packed(jobs.size());
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++)
            packed[i] = packFile(m_files, jobs[i], m_options);
    };
    const unsigned wanted =
        m_options.threads > 0 ? unsigned(m_options.threads) : std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> threads;
    for (size_t t = 1; t < std::min<size_t>(wanted, jobs.size()); ++t)
        threads.emplace_back(work);
    work();
    for (std::thread& t : threads)
        t.join();

    QByteArray out;
    for (const PackedFile& p : packed) {
        if (!p.error.isEmpty())
            throw VarnoltError(p.error);
        out.append(p.entry);
    }
    return out;
}

void PanelArchive::CompressDirectory(const QString& folder, bool recursive, const QString& archive)
{
    m_options.recursive = recursive;
    // The archive is replaced, not deleted first, so an archive inside the folder must not pack itself.
    const QByteArray bytes = pack(folder, archive);
    QString error;
    if (!m_files.writeFile(archive, bytes, &error))
        throw VarnoltError(QStringLiteral("Cannot create file \"%1\". %2").arg(nativePath(archive), error));
}

void PanelArchive::DecompressFile(const QString& archive, const QString& target, bool overwrite, bool useStoredFolders)
{
    m_options.overwrite = overwrite;
    m_options.useStoredFolders = useStoredFolders;
    QByteArray bytes;
    QString error;
    if (!m_files.readFile(archive, bytes, &error))
        throw VarnoltError(QStringLiteral("Cannot open file \"%1\". %2").arg(nativePath(archive), error));
    // Said in words: the parts of a file that is no archive at all are no names worth showing.
    if (!archive::startsLikeArchive(bytes))
        throw VarnoltError(QStringLiteral("\"%1\" is not a Varnolt export file.").arg(nativePath(archive)));
    unpack(bytes, target);
}

void PanelArchive::unpack(const QByteArray& archive, const QString& target) const
{
    const QString root = withSeparator(target);
    const std::vector<archive::EntryHeader> headers = archive::readHeaders(archive);
    const auto dataOf = [&](const archive::EntryHeader& h) {
        return QByteArrayView(archive).sliced(h.dataOffset, h.packedSize);
    };

    // Check everything first, so a hostile or damaged archive writes nothing at all.
    for (const archive::EntryHeader& h : headers) {
        if (!staysInside(h))
            throw VarnoltError(QStringLiteral("Archive entry \"%1\" lies outside the target folder").arg(entryPath(h)));
        if (!archive::inflateData(dataOf(h), h.size, nullptr))
            throw VarnoltError(QStringLiteral("Archive entry \"%1\" is damaged").arg(entryPath(h)));
    }

    for (const archive::EntryHeader& h : headers) {
        QString folder = fromAnsi(h.folder);
        if (m_options.createFolders && !(root + folder).isEmpty())
            createFolders(root + folder);
        folder = withSeparator(folder);
        if (!m_options.useStoredFolders)
            folder.clear();
        const QString path = root + folder + fromAnsi(h.name);
        if (!m_options.overwrite && m_files.fileExists(path))
            continue;
        QByteArray data;
        archive::inflateData(dataOf(h), h.size, &data);
        QString error;
        if (!m_files.writeFile(path, data, &error))
            throw VarnoltError(QStringLiteral("Cannot create file \"%1\". %2").arg(nativePath(path), error));
    }
}

void PanelArchive::createFolders(const QString& path) const
{
    // Stored paths may mix "\" and "/"; create each missing level in turn. A failure shows up when the
    // file inside it cannot be created.
    const QString native = nativePath(path);
    qsizetype from = native.startsWith(u'/') ? 1 : 0;
    while (from <= native.size()) {
        qsizetype slash = native.indexOf(u'/', from);
        if (slash < 0)
            slash = native.size();
        const QString level = native.left(slash);
        if (slash > from && !m_files.folderExists(level))
            m_files.createFolder(level);
        from = slash + 1;
    }
}
