#include "PanelArchive.h"

#include "ArchiveCodec.h"
#include "PackPipeline.h"

#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <QBuffer>
#include <QDir>
#include <QRegularExpression>

#include <QtEndian>

#include <algorithm>
#include <deque>
#include <limits>
#include <memory>
#include <thread>
#include <vector>

namespace {

struct FileJob
{
    QString folder; // relative, "" or ending with "\"
    QString name;
    QString path;
};

QString withSeparator(QString path)
{
    if (!path.isEmpty() && !path.endsWith(u'\\'))
        path += u'\\';
    return path;
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
        if (!e.name.contains(u'\\') && (leaveOut.isEmpty() || files.absolutePath(path) != leaveOut))
            jobs.push_back({relative, e.name, path});
    }
}

// Files are read ahead of the one being written only while less than this much input is held, so export
// holds about two copies of its largest file (its bytes and its compressed stream) and no more.
constexpr qint64 kReadAhead = 4 * 1024 * 1024;

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

void PanelArchive::pack(const QString& folder, const QString& leaveOut, const archive::Sink& out) const
{
    std::vector<FileJob> files;
    collectFiles(m_files, withSeparator(folder), QString(), m_options.recursive,
                 leaveOut.isEmpty() ? QString() : m_files.absolutePath(leaveOut), files);

    const unsigned wanted =
        m_options.threads > 0 ? unsigned(m_options.threads) : std::max(1u, std::thread::hardware_concurrency());
    PackPipeline pipeline(m_options.level, wanted - 1); // the calling thread is the last worker
    std::deque<std::shared_ptr<PackJob>> inFlight;
    qint64 held = 0;
    size_t next = 0;

    // Files are read in listing order and written in the same order as soon as each is compressed.
    while (next < files.size() || !inFlight.empty()) {
        while (next < files.size() && (inFlight.empty() || held < kReadAhead)) {
            const FileJob& file = files[next++];
            auto job = std::make_shared<PackJob>();
            job->path = file.path;
            if (!m_files.readFile(file.path, job->data) || job->data.isEmpty())
                continue; // unreadable and empty files are simply not stored
            if (job->data.size() > std::numeric_limits<qint32>::max())
                throw VarnoltError(
                    QStringLiteral("File \"%1\" is too large for an archive").arg(nativePath(file.path)));
            QByteArray folderField = m_options.storeFolders ? toAnsi(file.folder) : QByteArray();
            QByteArray nameField = toAnsi(file.name);
            folderField.truncate(archive::kMaxTextLength);
            nameField.truncate(archive::kMaxTextLength);
            job->header = char(folderField.size()) + folderField + char(nameField.size()) + nameField;
            held += job->data.size();
            pipeline.add(job);
            inFlight.push_back(std::move(job));
        }
        if (inFlight.empty())
            break;

        PackJob& job = *inFlight.front();
        pipeline.finish(job);
        if (!job.error.isEmpty())
            throw VarnoltError(job.error);
        qint64 packedSize = 0;
        for (const archive::Piece& p : job.pieces)
            packedSize += p.packed.size();
        const bool split = job.pieces.size() > 1;
        if (split)
            packedSize += 2 + 4;
        if (packedSize > std::numeric_limits<qint32>::max())
            throw VarnoltError(QStringLiteral("File \"%1\" is too large for an archive").arg(nativePath(job.path)));
        QByteArray header = job.header;
        char sizes[8];
        qToLittleEndian(qint32(job.data.size()), sizes);
        qToLittleEndian(qint32(packedSize), sizes + 4);
        header.append(sizes, 8);
        if (split)
            header += archive::zlibHeader(m_options.level);
        out(header.constData(), header.size());
        quint32 adler = 1;
        for (size_t i = 0; i < job.pieces.size(); ++i) {
            const archive::Piece& p = job.pieces[i];
            out(p.packed.constData(), p.packed.size());
            const qint64 length = std::min<qint64>(kPieceSize, job.data.size() - qint64(i) * kPieceSize);
            adler = archive::combineAdler(adler, p.adler, length);
        }
        if (split) {
            const QByteArray trailer = archive::zlibTrailer(adler);
            out(trailer.constData(), trailer.size());
        }
        held -= job.data.size();
        inFlight.pop_front();
    }
}

QByteArray PanelArchive::pack(const QString& folder, const QString& leaveOut) const
{
    QByteArray bytes;
    pack(folder, leaveOut, [&](const char* data, qsizetype size) { bytes.append(data, size); });
    return bytes;
}

void PanelArchive::CompressDirectory(const QString& folder, bool recursive, const QString& archive)
{
    m_options.recursive = recursive;
    const auto cannotCreate = [&](const QString& reason) {
        return VarnoltError(QStringLiteral("Cannot create file \"%1\". %2").arg(nativePath(archive), reason));
    };
    // Written under a temporary name and put in place whole, so a failure leaves any earlier archive as it
    // was; the archive itself is left out when it lies in the folder.
    QString error;
    const std::unique_ptr<StagedFile> file = m_files.stageFile(archive, &error);
    if (!file)
        throw cannotCreate(error);
    pack(folder, archive, [&](const char* data, qsizetype size) {
        if (!file->write(data, size))
            throw cannotCreate(file->errorString());
    });
    if (!file->finish(true) || !file->commit())
        throw cannotCreate(file->errorString());
}

void PanelArchive::DecompressFile(const QString& archive, const QString& target, bool overwrite, bool useStoredFolders)
{
    m_options.overwrite = overwrite;
    m_options.useStoredFolders = useStoredFolders;
    const auto cannotOpen = [&](const QString& reason) {
        return VarnoltError(QStringLiteral("Cannot open file \"%1\". %2").arg(nativePath(archive), reason));
    };
    QString error;
    const std::unique_ptr<QIODevice> in = m_files.openFile(archive, &error);
    if (!in)
        throw cannotOpen(error);
    // Said in words: the parts of a file that is no archive at all are no names worth showing.
    if (!archive::startsLikeArchive(in->peek(archive::kLongestStart)))
        throw VarnoltError(QStringLiteral("\"%1\" is not a Varnolt export file.").arg(nativePath(archive)));
    try {
        unpack(*in, target);
    } catch (const archive::ReadError& e) {
        throw cannotOpen(e.message());
    }
}

void PanelArchive::unpack(const QByteArray& archive, const QString& target) const
{
    QBuffer in;
    in.setData(archive);
    in.open(QIODevice::ReadOnly);
    unpack(in, target);
}

void PanelArchive::unpack(QIODevice& archive, const QString& target) const
{
    const QString root = withSeparator(target);
    const std::vector<archive::EntryHeader> headers = archive::readHeaders(archive);

    // Every name is checked, and the room the entries need, before anything is written.
    struct Output
    {
        const archive::EntryHeader* header;
        QString folder; // to create, "" for none
        QString path;
    };
    std::vector<Output> outputs;
    qint64 needed = 0;
    for (const archive::EntryHeader& h : headers) {
        if (!staysInside(h))
            throw VarnoltError(QStringLiteral("Archive entry \"%1\" lies outside the target folder").arg(entryPath(h)));
        QString folder = fromAnsi(h.folder);
        const QString toCreate = m_options.createFolders ? root + folder : QString();
        folder = withSeparator(folder);
        if (!m_options.useStoredFolders)
            folder.clear();
        const QString path = root + folder + fromAnsi(h.name);
        if (!m_options.overwrite && m_files.fileExists(path))
            continue;
        if (m_files.folderExists(path))
            throw VarnoltError(QStringLiteral("Cannot create file \"%1\". Is a directory").arg(nativePath(path)));
        outputs.push_back({&h, toCreate, path});
        needed += h.size; // an entry never yields more than it declares
    }
    const qint64 free = m_files.freeSpace(target);
    if (free >= 0 && needed > free) {
        throw VarnoltError(
            QStringLiteral("Not enough disk space to extract the archive: it needs %1 MB, %2 MB are free")
                .arg((needed + 1048575) / 1048576)
                .arg(free / 1048576));
    }

    // Each entry is inflated once, straight into a staged file; the files take their names only when every
    // entry has been written, and a failure removes what was made, so the target is all or nothing.
    std::vector<QString> madeFolders;
    std::vector<std::unique_ptr<StagedFile>> staged;
    archive::Inflater inflater(archive);
    try {
        for (const Output& o : outputs) {
            if (!o.folder.isEmpty())
                createFolders(o.folder, madeFolders);
            QString error;
            std::unique_ptr<StagedFile> file = m_files.stageFile(o.path, &error);
            if (!file)
                throw VarnoltError(QStringLiteral("Cannot create file \"%1\". %2").arg(nativePath(o.path), error));
            const archive::EntryHeader& h = *o.header;
            const bool whole = inflater.inflateTo(h, h.size, [&](const char* data, qsizetype size) {
                if (!file->write(data, size))
                    throw VarnoltError(
                        QStringLiteral("Cannot create file \"%1\". %2").arg(nativePath(o.path), file->errorString()));
            });
            if (!whole)
                throw VarnoltError(QStringLiteral("Archive entry \"%1\" is damaged").arg(entryPath(h)));
            if (!file->finish(false))
                throw VarnoltError(
                    QStringLiteral("Cannot create file \"%1\". %2").arg(nativePath(o.path), file->errorString()));
            staged.push_back(std::move(file));
        }
        for (size_t i = 0; i < staged.size(); ++i) {
            if (!staged[i]->commit()) {
                throw VarnoltError(QStringLiteral("Cannot create file \"%1\". %2")
                                       .arg(nativePath(outputs[i].path), staged[i]->errorString()));
            }
        }
    } catch (...) {
        staged.clear();
        for (auto f = madeFolders.rbegin(); f != madeFolders.rend(); ++f)
            m_files.removeFolder(*f);
        throw;
    }
}

void PanelArchive::createFolders(const QString& path, std::vector<QString>& made) const
{
    // Stored paths may mix "\" and "/"; create each missing level in turn. A failure shows up when the
    // file inside it cannot be created.
    const QString native = nativePath(path);
    const QChar separator = QDir::separator();
    qsizetype from = native.startsWith(separator) ? 1 : 0;
    while (from <= native.size()) {
        qsizetype slash = native.indexOf(separator, from);
        if (slash < 0)
            slash = native.size();
        const QString level = native.left(slash);
        if (slash > from && !m_files.folderExists(level) && m_files.createFolder(level))
            made.push_back(level);
        from = slash + 1;
    }
}
