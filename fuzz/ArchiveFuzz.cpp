// The archive reader: extracts each input into a fresh folder and checks that nothing lands outside it and
// that a refused archive leaves no target folder behind.
#include "FuzzInput.h"

#include "exchange/PanelArchive.h"
#include "platform/Errors.h"
#include "platform/LocalFileSystem.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

namespace {

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The target lies two levels down, so an escape of one or two levels shows up beside it.
    static QTemporaryDir root;
    FUZZ_CHECK(root.isValid());
    const QString box = root.path() + QStringLiteral("/box");
    const QString target = box + QStringLiteral("/inner/target");
    const QString archivePath = root.path() + QStringLiteral("/in.vrx");
    FUZZ_CHECK(QDir().mkpath(box + QStringLiteral("/inner")));
    {
        QFile f(archivePath);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(f.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }

    LocalFileSystem files;
    PanelArchive archive(files);
    bool refused = false;
    try {
        archive.DecompressFile(QString(archivePath).replace(u'/', u'\\'), QString(target).replace(u'/', u'\\'), true,
                               true);
    } catch (const VarnoltError&) {
        refused = true;
    }

    FUZZ_CHECK(entriesOf(root.path()) == (QStringList{"box", "in.vrx"}));
    FUZZ_CHECK(entriesOf(box) == QStringList{"inner"});
    const QStringList inner = entriesOf(box + QStringLiteral("/inner"));
    if (refused)
        FUZZ_CHECK(inner.isEmpty());
    else
        FUZZ_CHECK(inner.isEmpty() || inner == QStringList{"target"});
    // Nothing but plain files and folders inside: no link could lead a later write elsewhere.
    QDirIterator it(target, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        FUZZ_CHECK(!info.isSymLink() && (info.isFile() || info.isDir()));
    }
    QDir(target).removeRecursively();
    return 0;
}
