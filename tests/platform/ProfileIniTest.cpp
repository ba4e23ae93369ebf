#include "platform/ProfileIni.h"
#include "platform/Errors.h"
#include "support/TestPlatform.h"

#include <QFile>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct ReadCase
{
    const char* content;
    const char* section;
    const char* key;
    const char* expected; // "<default>" when the default comes back
};

const ReadCase kReads[] = {
    {"[Config]\r\nA=1\r\n", "Config", "A", "1"},
    {"[config]\r\na=1\r\n", "CONFIG", "A", "1"},                     // names ignore case
    {"[Config]\r\n  Key  =  value  \r\n", "Config", "Key", "value"}, // blanks around both trimmed
    {"[Config]\r\nK=\"quoted\"\r\n", "Config", "K", "quoted"},       // one pair of quotes stripped
    {"[Config]\r\nK='single'\r\n", "Config", "K", "single"},
    {"[Config]\r\nK=\"mixed'\r\n", "Config", "K", "\"mixed'"},      // unlike quotes stay
    {"[Config]\r\nK=\"\"two\"\"\r\n", "Config", "K", "\"two\""},    // only one pair
    {"[Config]\r\nK=a=b\r\n", "Config", "K", "a=b"},                // split at the first "="
    {"[Config]\r\nK=1\r\nK=2\r\n", "Config", "K", "1"},             // first key wins
    {"[Config]\r\nK=1\r\n[Config]\r\nK=2\r\n", "Config", "K", "1"}, // first section wins
    {"[Config]\r\nK\r\nK=3\r\n", "Config", "K", "3"},               // a line without "=" is no key
    {"[Other]\r\nK=1\r\n", "Config", "K", "<default>"},
    {"K=1\r\n[Config]\r\n", "Config", "K", "<default>"}, // keys before any section belong to none
    {"[Config]\nK=unix\n", "Config", "K", "unix"},
    {"[Config]\rA=1\rK=mac\r", "Config", "K", "mac"}, // a lone CR ends a line too
    {"[Config]\r\nA=1\rK=mixed\n", "Config", "K", "mixed"},
    {"[Config]\r\nK=\r\n", "Config", "K", ""},
    {"", "Config", "K", "<default>"},
};

} // namespace

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

struct WriteCase
{
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

const WriteCase kWrites[] = {
    // replaced in place, every other byte untouched (LF-only lines and comments included); the key keeps
    // the spelling the file has, blanks around it dropped
    {"; note\n[Config]\nA=1\nB=2\n", "config", "a", "9", "; note\n[Config]\nA=9\nB=2\n"},
    {"[Config]\r\nlastpanelused=Old\r\n", "Config", "LastPanelUsed", "New", "[Config]\r\nlastpanelused=New\r\n"},
    {"[Config]\r\n  Key = old \r\nX=1\r\n", "Config", "KEY", "v", "[Config]\r\nKey=v\r\nX=1\r\n"},
    // a replaced last line without terminator gets one
    {"[Config]\r\nA=1", "Config", "A", "2", "[Config]\r\nA=2\r\n"},
    // lone CRs end lines: the new key goes into its section, the lines around it stay whole
    {"[A]\r\nd=1\r", "A", "b", "c", "[A]\r\nd=1\rb=c\r\n"},
    {"[A]\rd=1\r[B]\rx=2\r", "A", "b", "c", "[A]\rd=1\rb=c\r\n[B]\rx=2\r"},
    {"[A]\rd=1\r", "A", "d", "5", "[A]\rd=5\r"},
    // a new key goes after the section's last non-blank line
    {"[Config]\r\nA=1\r\n\r\n[Next]\r\nX=1\r\n", "Config", "B", "2", "[Config]\r\nA=1\r\nB=2\r\n\r\n[Next]\r\nX=1\r\n"},
    // a new section goes at the end with no blank line before it
    {"[Other]\r\nX=1\r\n", "Config", "K", "v", "[Other]\r\nX=1\r\n[Config]\r\nK=v\r\n"},
    // a last line without terminator gets one first
    {"[Config]\r\nA=1", "Config", "B", "2", "[Config]\r\nA=1\r\nB=2\r\n"},
    {"[Other]", "Config", "K", "v", "[Other]\r\n[Config]\r\nK=v\r\n"},
    // an empty value is still written
    {"", "Config", "LastPanelUsed", "", "[Config]\r\nLastPanelUsed=\r\n"},
};

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
        EXPECT_EQ(e.message(), QStringLiteral("Unable to write to %1/nowhere/a.ini").arg(t.root()));
    }

    const QString locked = t.root() + QStringLiteral("/locked.ini");
    TestPlatform::writeBytes(locked, "[S]\r\nK=old\r\n");
    ::chmod(QFile::encodeName(locked).constData(), 0444);
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
    struct stat before
    {};
    ::stat(QFile::encodeName(file).constData(), &before);

    t.ini.writeString(file, "S", "K", "same");
    struct stat after
    {};
    ::stat(QFile::encodeName(file).constData(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino) << "not replaced through a temporary file";
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);

    // A missing file is still created, even for an empty value.
    const QString fresh = t.root() + QStringLiteral("/b.ini");
    t.ini.writeString(fresh, "S", "K", "");
    EXPECT_EQ(TestPlatform::readBytes(fresh), QByteArray("[S]\r\nK=\r\n"));
}
