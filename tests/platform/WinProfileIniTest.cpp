// The system's own INI services, which the Windows build stores its settings through, held to the same tables
// as our reader and writer, and to the same refusals.
#include "platform/WinProfileIni.h"
#include "IniCases.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "support/SystemProbe.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// The system's services write a file anew from what they read: every line ends in CR LF and blank lines go.
// Byte for byte that is what ours leave with its lines written so; files this program writes have such lines
// from the start, so for them the two are the same.
QByteArray linesAsRewritten(const QByteArray& content)
{
    QByteArray out;
    for (const QByteArray& line : QByteArray(content).replace("\r\n", "\n").replace('\r', '\n').split('\n')) {
        if (!line.trimmed().isEmpty())
            out += line + "\r\n";
    }
    return out;
}

} // namespace

TEST(WinProfileIni, ReadsAndWritesByTheTables)
{
    TestPlatform t;
    WinProfileIni ini;
    const QString file = nativePath(t.root() + "/cases.ini");
    for (const ReadCase& c : kReads) {
        // The system's services take a line without "=" for a key without a value, which hides a later one.
        if (std::strcmp(c.content, "[Config]\r\nK\r\nK=3\r\n") == 0)
            continue;
        TestPlatform::writeBytes(file, c.content);
        EXPECT_EQ(
            ini.readString(file, QString::fromLatin1(c.section), QString::fromLatin1(c.key), "<default>").toStdString(),
            c.expected)
            << "content: " << c.content;
    }
    for (const WriteCase& c : kWrites) {
        TestPlatform::writeBytes(file, c.before);
        ini.writeString(file, QString::fromLatin1(c.section), QString::fromLatin1(c.key), QString::fromLatin1(c.value));
        EXPECT_EQ(TestPlatform::readBytes(file).toStdString(), linesAsRewritten(c.after).toStdString())
            << "before: " << c.before;
    }
}

TEST(WinProfileIni, CutsLongValuesAt2047Characters)
{
    TestPlatform t;
    const QString file = nativePath(t.root() + "/long.ini");
    TestPlatform::writeBytes(file, "[S]\r\nK=" + QByteArray(3000, 'x') + "\r\n");
    EXPECT_EQ(WinProfileIni().readString(file, "S", "K", {}).size(), 2047);
}

TEST(WinProfileIni, CreatesFilesOnlyByWritesInTheAnsiCodePageAndRefusesWhatItCannotWrite)
{
    TestPlatform t;
    WinProfileIni ini;
    const QString file = nativePath(t.root() + "/a.ini");
    EXPECT_EQ(ini.readString(file, "S", "K", "def"), "def");
    EXPECT_FALSE(QFile::exists(file)) << "a read must not create the file";
    ini.writeString(file, "S", "K", QStringLiteral("caf\u00e9"));
    EXPECT_EQ(TestPlatform::readBytes(file), QByteArray("[S]\r\nK=caf\xE9\r\n"));
    EXPECT_EQ(ini.readString(file, "s", "k", {}), QStringLiteral("caf\u00e9"));

    const QString missing = nativePath(t.root() + "/nowhere/a.ini");
    try {
        ini.writeString(missing, "S", "K", "v");
        FAIL() << "no error";
    } catch (const VarnoltError& e) {
        EXPECT_EQ(e.message(), "Unable to write to " + missing);
    }
    EXPECT_FALSE(QDir(t.root() + "/nowhere").exists());

    const QString locked = nativePath(t.root() + "/locked.ini");
    TestPlatform::writeBytes(locked, "[S]\r\nK=old\r\n");
    setWritable(locked, false);
    EXPECT_THROW(ini.writeString(locked, "S", "K", "new"), VarnoltError);
    EXPECT_EQ(TestPlatform::readBytes(locked), QByteArray("[S]\r\nK=old\r\n"));
    EXPECT_NO_THROW(ini.writeString(locked, "s", "k", "old")) << "the value it holds is no change";
    setWritable(locked, true);
}
