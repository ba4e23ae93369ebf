#include "exchange/PanelArchive.h"
#include "exchange/ArchiveCodec.h"

#include "platform/Errors.h"
#include "platform/LocalFileSystem.h"
#include "support/SystemProbe.h"
#include "support/Wait.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include "platform/Paths.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>
#include <map>

namespace {

class PanelArchiveTest : public ::testing::Test
{
protected:
    // Stored paths ("\" separated) below the temporary folder.
    QString at(const QString& relative) const { return m_dir.path() + u'\\' + relative; }
    QString native(const QString& relative) const
    {
        return m_dir.path() + u'/' + QString(relative).replace(u'\\', u'/');
    }

    void write(const QString& relative, const QByteArray& bytes) const
    {
        const QString path = native(relative);
        QDir().mkpath(path.section(u'/', 0, -2));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray read(const QString& relative) const
    {
        QFile f(native(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    // Every file below a folder with its content, by path relative to it.
    std::map<QString, QByteArray> tree(const QString& relative) const
    {
        std::map<QString, QByteArray> files;
        const QDir root(native(relative));
        QDirIterator it(root.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile f(path);
            EXPECT_TRUE(f.open(QIODevice::ReadOnly));
            files[root.relativeFilePath(path)] = f.readAll();
        }
        return files;
    }

    QString errorOf(const std::function<void()>& call) const
    {
        try {
            call();
        } catch (const VarnoltError& e) {
            return e.message();
        }
        return QStringLiteral("<no error>");
    }

    QTemporaryDir m_dir;
    LocalFileSystem m_files;
    PanelArchive m_archive{m_files};
};

QByteArray entry(const QByteArray& folder, const QByteArray& name, const QByteArray& content)
{
    QByteArray out;
    archive::appendEntry(out, folder, name, qint32(content.size()), archive::deflateData(content, -1));
    return out;
}

QByteArray randomBytes(QRandomGenerator& rng, int size, bool compressible)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& c : bytes)
        c = compressible ? "panel=1\r\n"[rng.bounded(9)] : char(rng.bounded(256));
    return bytes;
}

TEST_F(PanelArchiveTest, OneEntryLaidOutFieldByField)
{
    QByteArray settings(120, 'x');
    settings.replace(0, 8, "[Config]");
    write("panel\\Cockpit.ini", settings);
    write("panel\\empty.txt", {});
    // A file that cannot be opened is left out without a message.
    const std::shared_ptr<void> held = unreadableFile(native("panel\\dangling.ini"));

    m_archive.CompressDirectory(at("panel"), false, at("out.vrx"));
    const QByteArray a = read("out.vrx");

    ASSERT_GT(a.size(), 23);
    EXPECT_EQ(a.at(0), 0);  // empty folder field
    EXPECT_EQ(a.at(1), 11); // name length
    EXPECT_EQ(a.mid(2, 11), "Cockpit.ini");
    EXPECT_EQ(qFromLittleEndian<qint32>(a.constData() + 13), 120);
    const qint32 packed = qFromLittleEndian<qint32>(a.constData() + 17);
    EXPECT_EQ(a.size(), 21 + packed); // one entry only
    EXPECT_EQ(quint8(a.at(21)), 0x78);
    EXPECT_EQ(quint8(a.at(22)), 0x9C);

    m_archive.DecompressFile(at("out.vrx"), at("target"), true, true);
    EXPECT_EQ(tree("target"), (std::map<QString, QByteArray>{{"Cockpit.ini", settings}}));
}

TEST_F(PanelArchiveTest, EmptyFolderGivesEmptyArchiveThatCreatesNothing)
{
    QDir().mkpath(native("panel"));
    write("panel\\empty.txt", {});
    write("out.vrx", "an older archive"); // replaced

    m_archive.CompressDirectory(at("panel"), false, at("out.vrx"));
    EXPECT_EQ(QFileInfo(native("out.vrx")).size(), 0);

    m_archive.DecompressFile(at("out.vrx"), at("target"), true, true);
    EXPECT_FALSE(QFileInfo::exists(native("target")));
}

TEST_F(PanelArchiveTest, SubFoldersOnlyWhenRecursive)
{
    write("panel\\a.ini", "top");
    write("panel\\sub\\b.ini", "below");
    write("panel\\sub\\deeper\\c.ini", "further below");

    m_archive.CompressDirectory(at("panel"), false, at("flat.vrx"));
    m_archive.DecompressFile(at("flat.vrx"), at("flat"), true, true);
    EXPECT_EQ(tree("flat"), (std::map<QString, QByteArray>{{"a.ini", "top"}}));

    m_archive.CompressDirectory(at("panel"), true, at("deep.vrx"));
    EXPECT_TRUE(read("deep.vrx")
                    .contains("\x04sub\\\x05"
                              "b.ini"));
    m_archive.DecompressFile(at("deep.vrx"), at("deep"), true, true);
    EXPECT_EQ(tree("deep"), tree("panel"));

    // Without the stored folders everything lands in the target itself.
    m_archive.DecompressFile(at("deep.vrx"), at("plain"), true, false);
    EXPECT_EQ(tree("plain"),
              (std::map<QString, QByteArray>{{"a.ini", "top"}, {"b.ini", "below"}, {"c.ini", "further below"}}));
}

TEST_F(PanelArchiveTest, ArchiveInsideItsOwnFolderIsNotPackedAgain)
{
    write("panel\\a.ini", "content");
    m_archive.CompressDirectory(at("panel"), false, at("panel\\Cockpit.vrx"));
    const QByteArray first = read("panel\\Cockpit.vrx");
    m_archive.CompressDirectory(at("panel"), false, at("panel\\Cockpit.vrx"));
    EXPECT_EQ(read("panel\\Cockpit.vrx"), first);
}

TEST_F(PanelArchiveTest, NameOutsideCodePageTravelsWithQuestionMark)
{
    write(QStringLiteral("panel\\Gauge \u03A9 \u00E9.ini"), "omega");
    m_archive.CompressDirectory(at("panel"), false, at("out.vrx"));
    EXPECT_TRUE(read("out.vrx").contains("Gauge ? \xE9.ini"));

    // Windows allows no "?" in a file name: there the entry cannot be made, and nothing of the archive is.
    if (!QFile(native("probe?")).open(QIODevice::WriteOnly)) {
        EXPECT_TRUE(errorOf([&] { m_archive.DecompressFile(at("out.vrx"), at("target"), true, true); })
                        .startsWith(QStringLiteral("Cannot create file \"%1\". ")
                                        .arg(nativePath(at(QStringLiteral("target\\Gauge ? \u00E9.ini"))))));
        EXPECT_FALSE(QFileInfo::exists(native("target")));
        return;
    }
    m_archive.DecompressFile(at("out.vrx"), at("target"), true, true);
    EXPECT_EQ(tree("target"), (std::map<QString, QByteArray>{{QStringLiteral("Gauge ? \u00E9.ini"), "omega"}}));
}

TEST_F(PanelArchiveTest, ExtractingAgainReplacesUnlessOverwriteIsOff)
{
    write("panel\\a.ini", "original");
    m_archive.CompressDirectory(at("panel"), false, at("out.vrx"));
    m_archive.DecompressFile(at("out.vrx"), at("target"), true, true);
    write("target\\a.ini", "changed");

    m_archive.DecompressFile(at("out.vrx"), at("target"), false, true);
    EXPECT_EQ(read("target\\a.ini"), "changed");
    m_archive.DecompressFile(at("out.vrx"), at("target"), true, true);
    EXPECT_EQ(read("target\\a.ini"), "original");
}

TEST_F(PanelArchiveTest, FaultyArchivesAreRefusedBeforeAnythingIsWritten)
{
    const QByteArray good = entry("", "good.ini", "fine");
    QByteArray damaged = entry("", "bad.ini", QByteArray(500, 'a'));
    damaged[19] = char(0xFF); // first deflate byte: a block type that does not exist
    QByteArray oversized;
    archive::appendEntry(oversized, "", "bomb.ini", 10, archive::deflateData(QByteArray(100000, 0), -1));
    QByteArray negative;
    archive::appendEntry(negative, "", "neg.ini", -1, archive::deflateData("x", -1));
    QByteArray cutShort;
    archive::appendEntry(cutShort, "", "cut.ini", 4, archive::deflateData("data", -1).left(5));

    const QString outside = QStringLiteral("lies outside the target folder");
    const QString notAnArchive = QStringLiteral("\"%1\" is not a Varnolt export file.").arg(nativePath(at("bad.vrx")));
    QByteArray noStream("\x03"
                        "abc"
                        "\x07"
                        "cfg.cfg"
                        "\x04\0\0\0\x04\0\0\0"
                        "data",
                        3 + 1 + 7 + 1 + 8 + 4);
    struct Case
    {
        const char* what;
        QByteArray bytes;
        QString message;
    };
    const Case cases[] = {
        {"data cut off", good + entry("", "x.ini", "content").chopped(3), "Stream read error"},
        {"header cut off",
         good + QByteArray("\x00\x05"
                           "ab",
                           4),
         "Stream read error"},
        {"damaged stream", good + damaged, "zlib returned: data error"},
        {"stream without end", good + cutShort, "zlib returned: buffer error"},
        {"inflates beyond size", good + oversized, "Archive entry \"bomb.ini\" is damaged"},
        {"negative size", good + negative, "Archive entry \"neg.ini\" is damaged"},
        {"parent folder", good + entry("..\\", "evil.ini", "x"), outside},
        {"nested parent", good + entry("sub\\..\\..\\", "evil.ini", "x"), outside},
        {"absolute folder", good + entry("\\tmp\\", "evil.ini", "x"), outside},
        {"slash absolute", good + entry("/tmp/", "evil.ini", "x"), outside},
        {"drive letter", good + entry("C:\\", "evil.ini", "x"), outside},
        {"slash in name", good + entry("", "../evil.ini", "x"), outside},
        {"backslash in name", good + entry("", "..\\evil.ini", "x"), outside},
        {"name is parent", good + entry("", "..", "x"), outside},
        {"empty name", good + entry("sub\\", "", "x"), outside},
        // Files that never were archives, whatever bytes they hold.
        {"text file", "[Config]\r\nPanelName=Cockpit\r\n", notAnArchive},
        {"picture", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), notAnArchive},
        {"names but no zlib data", noStream, notAnArchive},
        {"one byte", "x", notAnArchive},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        write("bad.vrx", c.bytes);
        const QString message = errorOf([&] { m_archive.DecompressFile(at("bad.vrx"), at("t\\target"), true, true); });
        EXPECT_TRUE(message.contains(c.message)) << qPrintable(message);
        EXPECT_TRUE(std::none_of(message.begin(), message.end(), [](QChar ch) { return ch.unicode() < 0x20; }))
            << "raw bytes in " << qPrintable(message);
        EXPECT_FALSE(QFileInfo::exists(native("t")));
        EXPECT_EQ(tree(""), (std::map<QString, QByteArray>{{"bad.vrx", c.bytes}}));
    }
}

TEST_F(PanelArchiveTest, MissingArchiveAndUnwritableTargets)
{
    // The system's own words for a missing file.
    QFile missing(native("none.vrx"));
    EXPECT_FALSE(missing.open(QIODevice::ReadOnly));
    EXPECT_EQ(errorOf([&] { m_archive.DecompressFile(at("none.vrx"), at("t"), true, true); }),
              QStringLiteral("Cannot open file \"%1\". %2").arg(nativePath(at("none.vrx")), missing.errorString()));

    write("panel\\a.ini", "content");
    EXPECT_TRUE(errorOf([&] {
                    m_archive.CompressDirectory(at("panel"), false, at("no\\such\\out.vrx"));
                }).startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(nativePath(at("no\\such\\out.vrx")))));

    // A folder standing where a file should go.
    m_archive.CompressDirectory(at("panel"), false, at("out.vrx"));
    QDir().mkpath(native("t\\a.ini"));
    EXPECT_TRUE(errorOf([&] {
                    m_archive.DecompressFile(at("out.vrx"), at("t"), true, true);
                }).startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(nativePath(at("t\\a.ini")))));
}

// A disk that fills up after `room` bytes, or reports that little free space.
struct SmallDisk : LocalFileSystem
{
    qint64 room = 0;
    qint64 reportedFree = -1;

    struct File : StagedFile
    {
        std::unique_ptr<StagedFile> real;
        qint64& room;
        File(std::unique_ptr<StagedFile> f, qint64& r) : real(std::move(f)), room(r) {}
        bool write(const char* data, qint64 size) override
        {
            room -= size;
            return room >= 0 && real->write(data, size);
        }
        bool finish(bool durable) override { return real->finish(durable); }
        bool commit() override { return real->commit(); }
        QString errorString() const override { return QStringLiteral("No space left on device"); }
    };
    std::unique_ptr<StagedFile> stageFile(const QString& path, QString* error) override
    {
        auto f = LocalFileSystem::stageFile(path, error);
        return f ? std::make_unique<File>(std::move(f), room) : nullptr;
    }
    qint64 freeSpace(const QString& path) const override
    {
        return reportedFree >= 0 ? reportedFree : LocalFileSystem::freeSpace(path);
    }
};

TEST_F(PanelArchiveTest, FailedWriteKeepsTheEarlierArchive)
{
    SmallDisk full;
    full.room = 10;
    write("panel\\a.ini", "content");
    write("out.vrx", "earlier archive");

    PanelArchive archive(full);
    EXPECT_EQ(errorOf([&] { archive.CompressDirectory(at("panel"), false, at("out.vrx")); }),
              QStringLiteral("Cannot create file \"%1\". No space left on device").arg(nativePath(at("out.vrx"))));
    EXPECT_EQ(tree(""), (std::map<QString, QByteArray>{{"out.vrx", "earlier archive"}, {"panel/a.ini", "content"}}));
}

TEST_F(PanelArchiveTest, ExtractionIsAllOrNothingAndChecksTheRoomFirst)
{
    const QByteArray bytes = entry("", "a.ini", "first") + entry("sub\\", "b.ini", QByteArray(5000, 'b'));
    write("in.vrx", bytes);
    SmallDisk disk;

    // The declared sizes do not fit: refused before any folder or file is made.
    disk.reportedFree = 4000;
    disk.room = 1 << 30;
    EXPECT_EQ(errorOf([&] { PanelArchive(disk).DecompressFile(at("in.vrx"), at("t\\target"), true, true); }),
              "Not enough disk space to extract the archive: it needs 1 MB, 0 MB are free");
    EXPECT_EQ(disk.room, 1 << 30);

    // The disk fills up in the second entry: the first file is not left behind, nor any folder.
    disk.reportedFree = -1;
    disk.room = 1000;
    EXPECT_EQ(errorOf([&] { PanelArchive(disk).DecompressFile(at("in.vrx"), at("t\\target"), true, true); }),
              QStringLiteral("Cannot create file \"%1\". No space left on device")
                  .arg(nativePath(at("t\\target\\sub\\b.ini"))));
    EXPECT_EQ(tree(""), (std::map<QString, QByteArray>{{"in.vrx", bytes}}));
    EXPECT_FALSE(QFileInfo::exists(native("t")));

    // Into an existing folder, a refused archive leaves its files as they were.
    write("t\\a.ini", "kept");
    EXPECT_NE(errorOf([&] { PanelArchive(disk).DecompressFile(at("in.vrx"), at("t"), true, true); }), "<no error>");
    EXPECT_EQ(tree("t"), (std::map<QString, QByteArray>{{"a.ini", "kept"}}));
}

// An archive whose reads fail, or come to an end as if the file had been cut, after `readable` bytes.
struct FlakyArchiveDisk : LocalFileSystem
{
    qint64 readable = 0;
    bool fails = false;

    class Device : public QBuffer
    {
    public:
        Device(qint64 readable, bool fails) : m_readable(readable), m_fails(fails) {}

    protected:
        qint64 readData(char* data, qint64 maxSize) override
        {
            const qint64 n = std::min(maxSize, m_readable - pos());
            if (n > 0)
                return QBuffer::readData(data, n);
            if (!m_fails)
                return 0;
            setErrorString(QStringLiteral("Input/output error"));
            return -1;
        }

    private:
        qint64 m_readable;
        bool m_fails;
    };
    std::unique_ptr<QIODevice> openFile(const QString& path, QString* error) const override
    {
        QByteArray bytes;
        if (!readFile(path, bytes, error))
            return nullptr;
        auto device = std::make_unique<Device>(readable, fails);
        device->setData(bytes);
        device->open(QIODevice::ReadOnly);
        return device;
    }
};

TEST_F(PanelArchiveTest, ArchiveThatCannotBeReadToTheEndLeavesNothing)
{
    // The second entry is read in several pieces; the reads stop in its middle, after every header was read.
    QRandomGenerator rng(3);
    const QByteArray first = entry("", "a.ini", "first");
    const QByteArray large = randomBytes(rng, 600000, false);
    const QByteArray bytes = first + entry("sub\\", "b.bin", large);
    write("in.vrx", bytes);
    for (const bool fails : {true, false}) {
        SCOPED_TRACE(fails ? "read error" : "file cut short");
        FlakyArchiveDisk disk;
        disk.readable = first.size() + 400000;
        disk.fails = fails;
        EXPECT_EQ(errorOf([&] { PanelArchive(disk).DecompressFile(at("in.vrx"), at("t\\target"), true, true); }),
                  fails ? QStringLiteral("Cannot open file \"%1\". Input/output error").arg(nativePath(at("in.vrx")))
                        : QStringLiteral("Stream read error"));
        EXPECT_FALSE(QFileInfo::exists(native("t")));
    }
    FlakyArchiveDisk whole;
    whole.readable = bytes.size();
    PanelArchive(whole).DecompressFile(at("in.vrx"), at("t"), true, true);
    EXPECT_EQ(tree("t"), (std::map<QString, QByteArray>{{"a.ini", "first"}, {"sub/b.bin", large}}));
}

TEST_F(PanelArchiveTest, RandomTreeRoundTripsWithSameBytesOnAnyThreadCount)
{
    QRandomGenerator rng(8);
    for (int i = 0; i < 40; ++i) {
        const QString folder = QStringList{"", "sub\\", "sub\\inner\\", "other\\"}.at(rng.bounded(4));
        write(folder + QStringLiteral("file%1.dat").arg(i),
              randomBytes(rng, rng.bounded(3) == 0 ? 0 : rng.bounded(200000), rng.bounded(2)));
    }
    // Larger than a compression piece: one stream made on several threads.
    write("sub\\large.bin", randomBytes(rng, 2500000, true) + randomBytes(rng, 700000, false));
    std::map<QString, QByteArray> expected = tree("");
    std::erase_if(expected, [](const auto& file) { return file.second.isEmpty(); });

    ArchiveOptions one;
    one.recursive = true;
    one.threads = 1;
    ArchiveOptions four = one;
    four.threads = 4;
    const QByteArray bytes = PanelArchive(m_files, one).pack(m_dir.path());
    EXPECT_EQ(PanelArchive(m_files, four).pack(m_dir.path()), bytes);

    QTemporaryDir target;
    PanelArchive(m_files).unpack(bytes, target.path());
    std::map<QString, QByteArray> extracted;
    QDirIterator it(target.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        extracted[QDir(target.path()).relativeFilePath(path)] = f.readAll();
    }
    EXPECT_EQ(extracted, expected);
}

// The format is plain zlib: another implementation must read ours and we must read its archives.
TEST_F(PanelArchiveTest, InteroperatesWithPythonZlib)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        GTEST_SKIP() << "python3 is not installed";

    write("panel\\Cockpit.cfg", QByteArray("Row;1;App\r\n").repeated(300));
    write("panel\\sub\\image.bmp", QByteArray(70000, '\x42'));
    QRandomGenerator rng(3);
    write("panel\\sub\\large.bmp", randomBytes(rng, 3000000, true) + randomBytes(rng, 300000, false));
    ArchiveOptions options;
    options.recursive = true;
    PanelArchive(m_files, options).CompressDirectory(at("panel"), true, at("ours.vrx"));

    // Reads our archive and prints what it holds; then writes one of its own with other zlib settings.
    const char* script = R"PY(
import struct, sys, zlib
data = open(sys.argv[1], 'rb').read()
pos = 0
while pos < len(data):
    f = data[pos]; folder = data[pos+1:pos+1+f]; pos += 1 + f
    n = data[pos]; name = data[pos+1:pos+1+n]; pos += 1 + n
    size, packed = struct.unpack_from('<ii', data, pos); pos += 8
    content = zlib.decompress(data[pos:pos+packed]); pos += packed
    assert len(content) == size and data[pos-packed:pos-packed+2] == b'\x78\x9c'
    print((folder + name).decode('cp1252'), size, zlib.crc32(content))
out = b''
for folder, name, content, level, wbits in [(b'', b'Trainer.ini', b'[Config]\r\nPanelName=Trainer\r\n', 9, 15),
                                            (b'img\\', b'caf\xe9.bin', bytes(range(256)) * 40, 1, 9)]:
    c = zlib.compressobj(level, zlib.DEFLATED, wbits)
    packed = c.compress(content) + c.flush()
    out += bytes([len(folder)]) + folder + bytes([len(name)]) + name + struct.pack('<ii', len(content), len(packed)) + packed
open(sys.argv[2], 'wb').write(out)
)PY";
    QProcess py;
    py.start(python, {"-c", script, native("ours.vrx"), native("theirs.vrx")});
    ASSERT_TRUE(waitForExit(py, 30000));
    ASSERT_EQ(py.exitCode(), 0) << py.readAllStandardError().constData();
    QStringList seen = QString::fromUtf8(py.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    seen.sort();
    const auto line = [&](const QString& path) {
        const QByteArray content = read("panel\\" + path);
        return QStringLiteral("%1 %2 %3")
            .arg(path)
            .arg(content.size())
            .arg(crc32(0, reinterpret_cast<const Bytef*>(content.constData()), uInt(content.size())));
    };
    EXPECT_EQ(seen, (QStringList{line("Cockpit.cfg"), line("sub\\image.bmp"), line("sub\\large.bmp")}));

    m_archive.DecompressFile(at("theirs.vrx"), at("target"), true, true);
    EXPECT_EQ(tree("target"), (std::map<QString, QByteArray>{{"Trainer.ini", "[Config]\r\nPanelName=Trainer\r\n"},
                                                             {QStringLiteral("img/caf\u00E9.bin"), [] {
                                                                  QByteArray b;
                                                                  for (int i = 0; i < 256 * 40; ++i)
                                                                      b.append(char(i % 256));
                                                                  return b;
                                                              }()}}));
}

} // namespace
