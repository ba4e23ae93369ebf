// Kills a process that keeps saving a file at random moments: the file on disk must always be one of the
// versions it saves, whole, never a mix, a cut-off file or an empty one.
#include "TornSaveVersions.h"

#include "exchange/PanelArchive.h"
#include "instruments/InstrumentListStore.h"
#include "platform/LocalFileSystem.h"
#include "platform/ProfileIni.h"
#include "settings/PanelFolder.h"
#include "support/TestPlatform.h"
#include "support/Wait.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

class TornSave : public ::testing::TestWithParam<const char*>
{
protected:
    QString native(const QString& storedPath) const { return QString(storedPath).replace(u'\\', u'/'); }

    QTemporaryDir m_dir;
    LocalFileSystem m_files;
};

TEST_P(TornSave, TheFileIsAlwaysTheOldOrTheNewOneWhole)
{
    const QString kind = QString::fromLatin1(GetParam());
    const QString folder = m_dir.path();
    QString file;
    QByteArray versions[2];
    if (kind == u"list") {
        for (int v = 0; v < 2; ++v)
            versions[v] = formatInstrumentList(tornsave::rows(v), tornsave::kSettings);
        file = native(PanelFolder(folder, tornsave::kPanel).listFile());
        QDir().mkpath(QFileInfo(file).path());
    } else if (kind == u"ini") {
        QByteArray base;
        for (int i = 0; i < 2000; ++i)
            base += QByteArray("Key") + QByteArray::number(i) + "=some value of a panel setting\r\n";
        base = "[Config]\r\n" + base;
        for (int v = 0; v < 2; ++v)
            versions[v] = ProfileIni::withValue(base, tornsave::kSection, tornsave::kKey, tornsave::value(v));
        file = native(tornsave::iniPath(folder));
    } else {
        QRandomGenerator content(5);
        for (int v = 0; v < 2; ++v) {
            const QString source = native(tornsave::sourceFolder(folder, v));
            QDir().mkpath(source);
            QByteArray bytes(400000, Qt::Uninitialized);
            for (char& c : bytes)
                c = char(content.bounded(v == 0 ? 16 : 256));
            TestPlatform::writeBytes(source + "/picture.bmp", bytes);
            TestPlatform::writeBytes(source + "/Torn.ini", "[Config]\r\nVersion=" + QByteArray::number(v) + "\r\n");
            versions[v] = PanelArchive(m_files).pack(tornsave::sourceFolder(folder, v));
        }
        file = native(tornsave::archivePath(folder));
    }
    ASSERT_NE(versions[0], versions[1]);
    TestPlatform::writeBytes(file, versions[0]);

    QRandomGenerator rng(QRandomGenerator::global()->generate());
    QElapsedTimer spent;
    spent.start();
    int kills = 0, newSeen = 0;
    // A hundred kills, or as many as fit in 20 seconds on a slow machine.
    for (; kills < 100 && spent.elapsed() < 20000; ++kills) {
        QProcess saver;
        saver.start(QStringLiteral(SAVE_LOOP), {kind, folder});
        ASSERT_TRUE(saver.waitForReadyRead(10000))
            << "the save loop never saved, after kill " << kills << ", exit code " << saver.exitCode() << ": "
            << saver.readAllStandardError().toStdString();
        QThread::usleep(rng.bounded(0, 40000));
        saver.kill(); // SIGKILL, or TerminateProcess on Windows: no chance to finish anything
        ASSERT_TRUE(waitForExit(saver));
        ASSERT_EQ(saver.exitStatus(), QProcess::CrashExit) << "the save loop ended by itself";

        const QByteArray onDisk = TestPlatform::readBytes(file);
        ASSERT_TRUE(onDisk == versions[0] || onDisk == versions[1])
            << "after kill " << kills << ": " << onDisk.size() << " bytes, neither version";
        newSeen += onDisk == versions[1];
    }
    // Some kills must have come after a save, or the test proved nothing.
    EXPECT_GT(newSeen, 0);
    EXPECT_GE(kills, 20);
}

INSTANTIATE_TEST_SUITE_P(Kinds, TornSave, ::testing::Values("list", "ini", "archive"));

} // namespace
