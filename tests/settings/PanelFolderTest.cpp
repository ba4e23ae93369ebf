#include "settings/PanelFolder.h"
#include "support/TestPlatform.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

const char* kindName(PanelFileKind kind)
{
    switch (kind) {
    case PanelFileKind::PanelSettings:
        return "panel settings";
    case PanelFileKind::InstrumentList:
        return "instrument list";
    case PanelFileKind::BackgroundSettings:
        return "background settings";
    case PanelFileKind::BackgroundPicture:
        return "background picture";
    case PanelFileKind::InstrumentPosition:
        return "instrument position";
    case PanelFileKind::Other:
        return "other";
    }
    return "?";
}

QStringList entries(const QString& nativeFolder)
{
    return QDir(nativeFolder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

TEST(PanelFolder, NamesEveryFileOfThePanelInTheSettingsFolder)
{
    const PanelFolder folder(QStringLiteral("C:\\Settings"), QStringLiteral("F-16 Left"));
    EXPECT_EQ(folder.path(), "C:\\Settings\\Panel_F-16 Left");
    EXPECT_EQ(folder.settingsFile(), "C:\\Settings\\Panel_F-16 Left\\F-16 Left.ini");
    EXPECT_EQ(folder.listFile(), "C:\\Settings\\Panel_F-16 Left\\F-16 Left.cfg");
    EXPECT_EQ(folder.backgroundSettingsFile(), "C:\\Settings\\Panel_F-16 Left\\PanelBackGround.ini");
    EXPECT_EQ(folder.pictureCopy(".jpg"), "C:\\Settings\\Panel_F-16 Left\\PanelBackgroundImage.jpg");
    EXPECT_EQ(folder.positionFile("Airspeed", "2"), "C:\\Settings\\Panel_F-16 Left\\Airspeed2.ini");

    const PanelFolder staged = PanelFolder::at(QStringLiteral("C:\\Settings\\.Panel_X.import"), QStringLiteral("X"));
    EXPECT_EQ(staged.settingsFile(), "C:\\Settings\\.Panel_X.import\\X.ini");
}

// Letter case never decides what a file is: the panels come from Windows, where "HORNET.INI" is "Hornet.ini".
TEST(PanelFolder, TellsWhatAFileIsWithoutRegardToLetterCase)
{
    const struct
    {
        const char* panel;
        const char* file;
        PanelFileKind kind;
    } cases[] = {
        {"Hornet", "Hornet.ini", PanelFileKind::PanelSettings},
        {"Hornet", "HORNET.INI", PanelFileKind::PanelSettings},
        {"Hornet", "Hornet.cfg", PanelFileKind::InstrumentList},
        {"Hornet", "hornet.CFG", PanelFileKind::InstrumentList},
        {"Hornet", "PanelBackGround.ini", PanelFileKind::BackgroundSettings},
        {"Hornet", "PANELBACKGROUND.INI", PanelFileKind::BackgroundSettings},
        {"Hornet", "PanelBackgroundImage.jpg", PanelFileKind::BackgroundPicture},
        {"Hornet", "panelbackgroundimage.PNG", PanelFileKind::BackgroundPicture},
        {"Hornet", "Airspeed1.ini", PanelFileKind::InstrumentPosition},
        {"Hornet", "Airspeed1.INI", PanelFileKind::InstrumentPosition},
        {"Hornet", "Hornet.ini.bak", PanelFileKind::Other},
        {"Hornet", "Other.cfg", PanelFileKind::Other},
        {"Hornet", "notes.txt", PanelFileKind::Other},
        // A panel named like a gauge's instance shares its settings file with it: the file is the panel's.
        {"Airspeed1", "airspeed1.ini", PanelFileKind::PanelSettings},
        {"Σκάφος", "ΣΚΆΦΟΣ.ini", PanelFileKind::PanelSettings},
    };
    for (const auto& c : cases) {
        const PanelFolder folder(QStringLiteral("S"), QString::fromUtf8(c.panel));
        EXPECT_STREQ(kindName(folder.kindOf(QString::fromUtf8(c.file))), kindName(c.kind)) << c.panel << ": " << c.file;
    }
}

// Copy and Import: the panel's own files carry the old name; the rest keep theirs.
TEST(PanelFolder, OwnFilesTakeTheNewName)
{
    TestPlatform tp;
    const QString dir = tp.root() + "/Panel_New";
    TestPlatform::writeBytes(dir + "/Old.ini", "[Config]\r\nPanelName=Old\r\nPanelMonitor=1\r\n");
    TestPlatform::writeBytes(dir + "/OLD.CFG", "rows");
    TestPlatform::writeBytes(dir + "/Airspeed1.ini", "[Position]\r\n");
    TestPlatform::writeBytes(dir + "/PanelBackGround.ini", "[Settings]\r\n");

    PanelFolder::at(dir, QStringLiteral("New")).takeOwnFilesFrom(tp.files, tp.ini, QStringLiteral("Old"));

    EXPECT_EQ(entries(dir), QStringList({"Airspeed1.ini", "New.cfg", "New.ini", "PanelBackGround.ini"}));
    EXPECT_EQ(TestPlatform::readBytes(dir + "/New.ini"), "[Config]\r\nPanelName=New\r\nPanelMonitor=1\r\n");
    EXPECT_EQ(TestPlatform::readBytes(dir + "/New.cfg"), "rows");
}

TEST(PanelFolder, RemovesItsFilesAndItself)
{
    TestPlatform tp;
    const QString iniPath = tp.root() + "/settings";
    TestPlatform::writeBytes(iniPath + "/Panel_Gone/Gone.ini", "x");
    TestPlatform::writeBytes(iniPath + "/Panel_Gone/Gone.cfg", "y");
    TestPlatform::writeBytes(iniPath + "/Panel_Kept/Kept.ini", "z");

    PanelFolder(iniPath, QStringLiteral("Gone")).remove(tp.files);

    EXPECT_EQ(entries(iniPath), QStringList({"Panel_Kept"}));
}
