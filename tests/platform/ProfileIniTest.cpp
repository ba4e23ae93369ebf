#include "platform/ProfileIni.h"
#include "IniCases.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "support/SystemProbe.h"
#include "support/TestPlatform.h"

#include <QFile>

#include <gtest/gtest.h>

TEST(ProfileIni, ReadsByTheWindowsRules)
{
    for (const ReadCase& c : kReads) {
        const QString got = ProfileIni::lookUp(QByteArray(c.content), QString::fromLatin1(c.section),
                                               QString::fromLatin1(c.key), QStringLiteral("<default>"));
        EXPECT_EQ(got.toStdString(), c.expected) << "content: " << c.content;
    }
}

TEST(ProfileIni, CutsLongValuesAt2047Characters)
{
    const QByteArray content = "[S]\r\nK=" + QByteArray(3000, 'x') + "\r\n";
    EXPECT_EQ(ProfileIni::lookUp(content, "S", "K", {}).size(), 2047);
}

TEST(ProfileIni, WritesKeepTheRestOfTheFile)
{
    for (const WriteCase& c : kWrites) {
        const QByteArray got = ProfileIni::withValue(QByteArray(c.before), QString::fromLatin1(c.section),
                                                     QString::fromLatin1(c.key), QString::fromLatin1(c.value));
        EXPECT_EQ(got.toStdString(), c.after) << "before: " << c.before;
    }
}

TEST(ProfileIni, FilesAreOpenedAnewAndCreatedOnlyByWrites)
{
    TestPlatform t;
    const QString file = t.root() + QStringLiteral("\\sub\\..\\a.ini");
    const QString plain = t.root() + QStringLiteral("/a.ini");

    EXPECT_EQ(t.ini.readString(file, "S", "K", "def"), "def");
    EXPECT_FALSE(QFile::exists(plain)) << "a read must not create the file";

    QDir(t.root()).mkdir("sub");
    t.ini.writeString(file, "S", "K", QStringLiteral("caf\u00e9"));
    EXPECT_EQ(TestPlatform::readBytes(plain), QByteArray("[S]\r\nK=caf\xE9\r\n")) << "new files are code page 1252";
    EXPECT_EQ(t.ini.readString(file, "s", "k", {}), QStringLiteral("caf\u00e9"));

    // Changed behind our back: the next read sees it, nothing is cached.
    TestPlatform::writeBytes(plain, "[S]\r\nK=by hand\r\n");
    EXPECT_EQ(t.ini.readString(file, "S", "K", {}), "by hand");
}

TEST(ProfileIni, RefusesMissingFoldersAndReadOnlyFiles)
{
    TestPlatform t;
    const QString missing = t.root() + QStringLiteral("\\nowhere\\a.ini");
    try {
        t.ini.writeString(missing, "S", "K", "v");
        FAIL() << "no error";
    } catch (const VarnoltError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Unable to write to ") + nativePath(t.root() + "/nowhere/a.ini"));
    }

    const QString locked = t.root() + QStringLiteral("/locked.ini");
    TestPlatform::writeBytes(locked, "[S]\r\nK=old\r\n");
    setWritable(locked, false);
    EXPECT_THROW(t.ini.writeString(locked, "S", "K", "new"), VarnoltError);
    EXPECT_EQ(TestPlatform::readBytes(locked), QByteArray("[S]\r\nK=old\r\n"));
    // The value it already holds is no change, so nothing has to be written.
    EXPECT_NO_THROW(t.ini.writeString(locked, "s", "k", "old"));
}

TEST(ProfileIni, AnUnchangedValueLeavesTheFileUntouched)
{
    TestPlatform t;
    const QString file = t.root() + QStringLiteral("/a.ini");
    TestPlatform::writeBytes(file, "[S]\r\nK=same\r\n");
    const FileStamp before = fileStamp(file);

    t.ini.writeString(file, "S", "K", "same");
    EXPECT_EQ(fileStamp(file), before) << "replaced through a temporary file, or written";

    // A missing file is still created, even for an empty value.
    const QString fresh = t.root() + QStringLiteral("/b.ini");
    t.ini.writeString(fresh, "S", "K", "");
    EXPECT_EQ(TestPlatform::readBytes(fresh), QByteArray("[S]\r\nK=\r\n"));
}
