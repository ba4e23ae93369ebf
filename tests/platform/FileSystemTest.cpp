#include "support/SystemProbe.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <map>

TEST(LocalFileSystem, StoredPathsAndListingAttributes)
{
    TestPlatform t;
    LocalFileSystem& fs = t.files;
    const QString base = t.root() + QStringLiteral("\\work");

    EXPECT_TRUE(fs.createFolder(base));
    EXPECT_FALSE(fs.createFolder(base + QStringLiteral("\\a\\b"))) << "one level only";
    EXPECT_TRUE(fs.createFolder(base + QStringLiteral("\\Panel_A")));
    EXPECT_TRUE(fs.createFolder(base + QStringLiteral("\\.Panel_hidden")));
    EXPECT_TRUE(fs.createFolder(base + QStringLiteral("\\Panel_locked")));
    setPlainFolder(t.root() + "/work/Panel_locked", false);
    TestPlatform::writeBytes(t.root() + "/work/Panel_file", "x");

    std::map<QString, DirEntry> seen;
    for (const DirEntry& e : fs.list(base + QStringLiteral("\\Panel_*")))
        seen[e.name] = e;
    ASSERT_EQ(seen.size(), 3u) << "the hidden one does not match the pattern";
    EXPECT_TRUE(seen["Panel_A"].isPlainDirectory());
    EXPECT_TRUE(seen["Panel_locked"].directory);
    EXPECT_FALSE(seen["Panel_locked"].isPlainDirectory());
    EXPECT_FALSE(seen["Panel_file"].directory);

    EXPECT_TRUE(fs.fileExists(base + QStringLiteral("\\Panel_file")));
    EXPECT_FALSE(fs.fileExists(base + QStringLiteral("\\Panel_A")));
    EXPECT_TRUE(fs.copyFile(base + "\\Panel_file", base + "\\copy", true));
    EXPECT_FALSE(fs.copyFile(base + "\\Panel_file", base + "\\copy", true));
    EXPECT_FALSE(fs.renameFile(base + "\\copy", base + "\\Panel_file")) << "rename never replaces";
    EXPECT_TRUE(fs.renameFile(base + "\\copy", base + "\\moved"));
    EXPECT_TRUE(fs.deleteFile(base + "\\moved"));
    EXPECT_FALSE(fs.removeFolder(base)) << "only empty folders";
}

// Spellings of one place made equal, so a file can be recognised however its path was written.
TEST(LocalFileSystem, AbsolutePathResolvesDotsAgainstTheWorkingFolder)
{
    LocalFileSystem fs;
    const QString cwd = QDir::currentPath().replace(u'/', u'\\');
    // A path from the root of the current drive gets that drive on Windows.
    const QString drive = cwd.section(u'\\', 0, 0);
    const struct
    {
        QString path, absolute;
    } cases[] = {
        {"a\\b\\..\\c.vrx", cwd + "\\a\\c.vrx"},
        {"./c.vrx", cwd + "\\c.vrx"},
        {"\\tmp\\x\\.\\\\y\\", drive + "\\tmp\\x\\y"},
        {"/tmp/no/such/../file", drive + "\\tmp\\no\\file"}, // nothing there needs to exist
    };
    for (const auto& c : cases)
        EXPECT_EQ(fs.absolutePath(c.path), c.absolute) << qPrintable(c.path);
}
