#include "platform/Paths.h"

#include <gtest/gtest.h>

TEST(StoredPath, NameBaseAndExtension)
{
    const struct
    {
        const char* path;
        const char* folder;
        const char* name;
        const char* base;
        const char* extension;
    } cases[] = {
        // clang-format off
        {"C:\\Panels\\Panel_A\\A.cfg", "C:\\Panels\\Panel_A", "A.cfg",       "A",       ".cfg"},
        {"/tmp/x/Cockpit.vrx",         "/tmp/x",                "Cockpit.vrx", "Cockpit", ".vrx"},
        {"mixed/dir\\F-16.C.vrx",      "mixed/dir",             "F-16.C.vrx",  "F-16.C",  ".vrx"}, // the last dot only
        {"dir.d\\README",              "dir.d",                 "README",      "README",  ""},     // a dot in the folder is no extension
        {"Panel.",                     "",                      "Panel.",      "Panel",   "."},
        {"folder\\",                   "folder",                "",            "",        ""},
        {"/varnolt",                   "/",                     "varnolt",     "varnolt", ""},     // the root keeps its name
        // clang-format on
    };
    for (const auto& c : cases) {
        const QString name = storedFileName(QString::fromLatin1(c.path));
        EXPECT_EQ(storedFolder(QString::fromLatin1(c.path)), QLatin1String(c.folder)) << c.path;
        EXPECT_EQ(name, QLatin1String(c.name)) << c.path;
        EXPECT_EQ(withoutExtension(name), QLatin1String(c.base)) << c.path;
        EXPECT_EQ(extensionOf(name), QLatin1String(c.extension)) << c.path;
    }
}
