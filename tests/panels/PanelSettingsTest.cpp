#include "panels/PanelSettings.h"

#include "panels/PanelRecord.h"
#include "panels/PanelSetupModel.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "settings/PanelFolder.h"

#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using M = PanelSetupModel;

class PanelSettingsTest : public ::testing::Test
{
protected:
    PanelSettingsTest() { monitors().screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1920, 1080)}; }

    FakeMonitors& monitors() { return tp.monitors; }
    QString iniPath() const { return tp.iniPath(); }
    QString folder(const QString& panel) const { return nativePath(PanelFolder(iniPath(), panel).path()); }
    QString inFolder(const QString& panel, const QString& file) const { return folder(panel) + u'/' + file; }

    void makeFolder(const QString& panel) { QDir().mkpath(folder(panel)); }
    void writeSettings(const QString& panel, const QByteArray& lines)
    {
        TestPlatform::writeBytes(inFolder(panel, panel + QStringLiteral(".ini")), "[Config]\r\n" + lines);
    }
    void writeBackground(const QString& panel, const QByteArray& content)
    {
        TestPlatform::writeBytes(inFolder(panel, QStringLiteral("PanelBackGround.ini")), content);
    }
    // The keys of a file in their order, as "key=value".
    QStringList linesOf(const QString& panel, const QString& file) const
    {
        return QString::fromLatin1(TestPlatform::readBytes(inFolder(panel, file)))
            .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }

    std::unique_ptr<M> newModel()
    {
        auto m = std::make_unique<M>(tp.monitors, prompter);
        m->setMonitorCount(monitors().count());
        return m;
    }
    void save(const QString& panel, const M& m) { SavePanelSetup(tp.platform(), iniPath(), panel, m); }
    std::unique_ptr<M> fill(const QString& panel)
    {
        auto m = newModel();
        FillPanelSetup(tp.ini, iniPath(), panel, *m);
        return m;
    }

    TestPlatform tp;
    ScriptedPrompter prompter;
};

TEST_F(PanelSettingsTest, LoadWithoutFileGivesDefaults)
{
    PanelRecord p;
    p.Monitor = QStringLiteral("3");
    p.ShowBezels = false;
    p.EnableLighting = true;
    p.Layout.ScreenWidth[0] = 99;
    LoadPanelSettings(tp.ini, iniPath(), QStringLiteral("X"), p);
    EXPECT_EQ(p.Name, QLatin1String("X"));
    EXPECT_EQ(p.Monitor, QLatin1String("0"));
    EXPECT_EQ(p.Layout.ScreenCount, 1);
    EXPECT_EQ(p.Layout.ScreenWidth[0], 0);
    EXPECT_EQ(p.Layout.ScreenHeight[0], 0);
    EXPECT_TRUE(p.ShowBezels);
    EXPECT_TRUE(p.ShowBackground);
    EXPECT_FALSE(p.EnableLighting);
    EXPECT_FALSE(QFile::exists(folder(QStringLiteral("X")))); // reading creates nothing

    LoadPanelSettings(tp.ini, iniPath(), QString(), p); // an empty name changes nothing
    EXPECT_EQ(p.Name, QLatin1String("X"));
}

TEST_F(PanelSettingsTest, LoadReadsFourMonitorsAtMostAndKeepsLaterSizes)
{
    writeSettings("Six", "PanelName=Six Pack\r\nPanelMonitor=2\r\nNo_of_Screens=6\r\n"
                         "Screen_0_Height=100\r\nScreen_0_Width=101\r\nScreen_1_Height=110\r\nScreen_1_Width=111\r\n"
                         "Screen_2_Height=120\r\nScreen_2_Width=121\r\nScreen_3_Height=130\r\nScreen_3_Width=131\r\n"
                         "Screen_4_Height=140\r\nScreen_4_Width=141\r\nScreen_5_Height=150\r\nScreen_5_Width=151\r\n");
    writeSettings("Two", "No_of_Screens=2\r\nScreen_0_Height=200\r\nScreen_0_Width=201\r\n"
                         "Screen_1_Height=210\r\nScreen_1_Width=211\r\n"
                         "ShowBezels=yes\r\nEnableLighting=2\r\nShowBackground=0x0\r\n");
    PanelRecord p;
    LoadPanelSettings(tp.ini, iniPath(), QStringLiteral("Six"), p);
    EXPECT_EQ(p.Name, QLatin1String("Six")); // the folder's name, never the stored one
    EXPECT_EQ(p.Monitor, QLatin1String("2"));
    EXPECT_EQ(p.Layout.ScreenCount, 6);
    EXPECT_EQ(p.Layout.ScreenHeight, (std::array<int, 4>{100, 110, 120, 130}));
    EXPECT_EQ(p.Layout.ScreenWidth, (std::array<int, 4>{101, 111, 121, 131}));

    LoadPanelSettings(tp.ini, iniPath(), QStringLiteral("Two"), p);
    EXPECT_EQ(p.Name, QLatin1String("Two"));
    EXPECT_EQ(p.Layout.ScreenCount, 2);
    EXPECT_EQ(p.Layout.ScreenHeight, (std::array<int, 4>{200, 210, 120, 130}));
    EXPECT_EQ(p.Layout.ScreenWidth, (std::array<int, 4>{201, 211, 121, 131}));
    EXPECT_TRUE(p.ShowBezels);     // "yes" is no number: the default, true
    EXPECT_TRUE(p.EnableLighting); // any non-zero number
    EXPECT_FALSE(p.ShowBackground);

    writeSettings("Yes", "EnableLighting=yes\r\n");
    LoadPanelSettings(tp.ini, iniPath(), QStringLiteral("Yes"), p);
    EXPECT_FALSE(p.EnableLighting); // "yes" is no number: the default, false
}

TEST_F(PanelSettingsTest, LoadStopsAtAScreenCountThatIsNoNumber)
{
    writeSettings("Bad", "PanelName=Bad\r\nPanelMonitor=1\r\nNo_of_Screens=two\r\nShowBezels=0\r\n");
    PanelRecord p;
    p.Layout.ScreenCount = 3;
    p.ShowBezels = true;
    try {
        LoadPanelSettings(tp.ini, iniPath(), QStringLiteral("Bad"), p);
        FAIL() << "no error";
    } catch (const VarnoltError& e) {
        EXPECT_EQ(e.message(), QLatin1String("'two' is not a valid integer value"));
    }
    EXPECT_EQ(p.Name, QLatin1String("Bad"));
    EXPECT_EQ(p.Monitor, QLatin1String("1"));
    EXPECT_EQ(p.Layout.ScreenCount, 3);
    EXPECT_TRUE(p.ShowBezels);
}

TEST_F(PanelSettingsTest, SaveWritesKeysInOrderForEveryAttachedMonitor)
{
    monitors().screens.push_back(QRect(3840, 0, 1280, 1024)); // five monitors attached
    monitors().screens.push_back(QRect(5120, 0, 800, 600));
    monitors().screens.push_back(QRect(5920, 0, 640, 480));
    makeFolder("A10C");
    auto m = newModel();
    m->panelName = QStringLiteral("A10C");
    m->backgroundColor = 0x000080FF;
    m->frameColor = 0x00FFFFFF;
    m->lighting = true;
    m->setMonitorIndex(1);
    m->setSizeType(M::OneMonitor);
    save(QStringLiteral("A10C"), *m);

    EXPECT_EQ(linesOf("A10C", "A10C.ini"),
              QStringList({"[Config]", "PanelName=A10C", "PanelBGImage=", "PanelBGColor=33023", "ShowBackground=1",
                           "PanelMonitor=1", "No_of_Screens=5", "Screen_0_Height=1080", "Screen_0_Width=1920",
                           "Screen_1_Height=1080", "Screen_1_Width=1920", "Screen_2_Height=1024", "Screen_2_Width=1280",
                           "Screen_3_Height=600", "Screen_3_Width=800", "Screen_4_Height=480", "Screen_4_Width=640",
                           "ShowBezels=1", "EnableLighting=1"}));
    EXPECT_EQ(linesOf("A10C", "PanelBackGround.ini"),
              QStringList({"[Settings]", "Type=0", "ImageFileName=", "Color=$000080FF", "FrameColor=clWhite",
                           "Width=1920", "Height=1080", "UseImageSize=0", "ShowFrame=0", "FrameWidth=1", "ShowGrid=0",
                           "GridSpacing=40", "SizeType=1", "Monitor=1", "[Position]", "Top=0", "Left=1920"}));

    PanelRecord p;
    LoadPanelSettings(tp.ini, iniPath(), QStringLiteral("A10C"), p);
    EXPECT_EQ(p.Monitor, QLatin1String("1"));
    EXPECT_EQ(p.Layout.ScreenCount, 5);
    EXPECT_EQ(p.Layout.ScreenWidth, (std::array<int, 4>{1920, 1920, 1280, 800}));
    EXPECT_TRUE(p.EnableLighting);
}

TEST_F(PanelSettingsTest, ModeDecidesPanelMonitorAndShowBackground)
{
    const struct
    {
        int mode;
        const char* panelMonitor;
        const char* showBackground;
        const char* size;
    } cases[] = {
        {M::FullDesktop, "PanelMonitor=0", "ShowBackground=1", "Width=3840"},
        {M::OneMonitor, "PanelMonitor=1", "ShowBackground=1", "Width=1920"},
        {M::CustomSize, "PanelMonitor=0", "ShowBackground=1", "Width=800"},
        {M::NoBackground, "PanelMonitor=0", "ShowBackground=0", "Width=3840"},
    };
    makeFolder("P");
    for (const auto& c : cases) {
        auto m = newModel();
        m->setMonitorIndex(1);
        m->setSizeType(c.mode);
        m->FormShow();
        save(QStringLiteral("P"), *m);
        const QStringList panel = linesOf("P", "P.ini");
        const QStringList background = linesOf("P", "PanelBackGround.ini");
        EXPECT_TRUE(panel.contains(QLatin1String(c.panelMonitor))) << c.mode;
        EXPECT_TRUE(panel.contains(QLatin1String(c.showBackground))) << c.mode;
        EXPECT_TRUE(background.contains(QLatin1String(c.size))) << c.mode;
        EXPECT_TRUE(background.contains(QLatin1String("Monitor=1"))) << c.mode; // the box's entry, in every Mode
    }
}

TEST_F(PanelSettingsTest, BackgroundImageCopies)
{
    const QString pics = tp.root() + QStringLiteral("/pics");
    TestPlatform::writeBytes(pics + QStringLiteral("/sky.png"), "PNG sky");
    TestPlatform::writeBytes(pics + QStringLiteral("/sea.jpg"), "JPG sea");
    makeFolder("P");
    makeFolder("Other");
    TestPlatform::writeBytes(inFolder("Other", "PanelBackgroundImage.png"), "PNG other");
    const QString otherCopy = PanelFolder(iniPath(), QStringLiteral("Other")).pictureCopy(QStringLiteral(".png"));

    const struct
    {
        QString field;
        QString stored;
        QStringList filesAfter; // background pictures in the panel folder afterwards
    } steps[] = {
        {pics + QStringLiteral("/sea.jpg"), "PanelBackgroundImage.jpg", {"PanelBackgroundImage.jpg"}},
        {"PanelBackgroundImage.jpg", "PanelBackgroundImage.jpg", {"PanelBackgroundImage.jpg"}},
        // A new picture of another type leaves the earlier copy beside it.
        {pics + QStringLiteral("\\sky.png"),
         "PanelBackgroundImage.png",
         {"PanelBackgroundImage.jpg", "PanelBackgroundImage.png"}},
        // No picture: the copy without an extension is looked for, so the others stay.
        {"", "", {"PanelBackgroundImage.jpg", "PanelBackgroundImage.png"}},
        {"D:\\gone.png", "", {"PanelBackgroundImage.jpg"}},
        // Another panel's copy is referred to, not copied.
        {otherCopy, otherCopy, {"PanelBackgroundImage.jpg"}},
    };
    for (const auto& s : steps) {
        auto m = newModel();
        m->setType(M::TypeImage);
        m->imageFile = s.field;
        save(QStringLiteral("P"), *m);
        EXPECT_TRUE(linesOf("P", "P.ini").contains(QStringLiteral("PanelBGImage=") + s.stored)) << qPrintable(s.field);
        EXPECT_TRUE(linesOf("P", "PanelBackGround.ini").contains(QStringLiteral("ImageFileName=") + s.stored));
        EXPECT_EQ(QDir(folder("P")).entryList({"PanelBackgroundImage*"}, QDir::Files), s.filesAfter)
            << qPrintable(s.field);
    }
    EXPECT_EQ(TestPlatform::readBytes(inFolder("P", "PanelBackgroundImage.png")), QByteArray());
    EXPECT_EQ(TestPlatform::readBytes(inFolder("P", "PanelBackgroundImage.jpg")), "JPG sea");
}

TEST_F(PanelSettingsTest, SaveRefusesTopOrLeftBeforeWritingAnything)
{
    makeFolder("P");
    TestPlatform::writeBytes(tp.root() + QStringLiteral("/sky.png"), "PNG");
    auto m = newModel();
    m->imageFile = tp.root() + QStringLiteral("/sky.png");
    m->left = QStringLiteral("10px");
    try {
        save(QStringLiteral("P"), *m);
        FAIL() << "no error";
    } catch (const VarnoltError& e) {
        EXPECT_EQ(e.message(), QLatin1String("'10px' is not a valid integer value"));
    }
    EXPECT_TRUE(QDir(folder("P")).isEmpty());
}

TEST_F(PanelSettingsTest, SaveIntoMissingFolderFails)
{
    auto m = newModel();
    try {
        save(QStringLiteral("Nowhere"), *m);
        FAIL() << "no error";
    } catch (const VarnoltError& e) {
        EXPECT_TRUE(e.message().startsWith(QLatin1String("Unable to write to "))) << qPrintable(e.message());
    }
}

TEST_F(PanelSettingsTest, FillWithoutFilesGivesDefaults)
{
    auto m = fill(QStringLiteral("New"));
    m->FormShow();
    EXPECT_EQ(m->panelName, QLatin1String("New"));
    EXPECT_FALSE(m->panelNameEnabled());
    EXPECT_EQ(m->type(), M::TypeColor);
    EXPECT_EQ(m->sizeType(), M::FullDesktop);
    EXPECT_TRUE(m->showFrame);
    EXPECT_FALSE(m->showGrid);
    EXPECT_EQ(m->frameWidth(), 1);
    EXPECT_EQ(m->gridSpacing(), 40);
    EXPECT_EQ(m->frameColor, 0);
    EXPECT_EQ(m->backgroundColor, 0);
    EXPECT_TRUE(m->bezels);
    EXPECT_FALSE(m->lighting);
    EXPECT_TRUE(m->imageSize());
    EXPECT_FALSE(m->imageSizeEnabled());
}

TEST_F(PanelSettingsTest, CustomSizeRoundTrip)
{
    makeFolder("C");
    auto m = newModel();
    m->panelName = QStringLiteral("C");
    m->bezels = false;
    m->showGrid = true;
    m->setGridSpacing(25);
    m->frameColor = 0x000080FF;
    m->backgroundColor = 0x00123456;
    m->setSizeType(M::CustomSize);
    m->width = QStringLiteral("1024");
    m->height = QStringLiteral("768");
    m->top = QStringLiteral("100");
    m->left = QStringLiteral("200");
    save(QStringLiteral("C"), *m);

    auto back = fill(QStringLiteral("C"));
    back->FormShow();
    EXPECT_EQ(back->sizeType(), M::CustomSize);
    EXPECT_EQ(QStringList({back->width, back->height, back->top, back->left}),
              QStringList({"1024", "768", "100", "200"}));
    EXPECT_TRUE(back->sizeVisible());
    EXPECT_TRUE(back->topLeftVisible());
    EXPECT_FALSE(back->bezels);
    EXPECT_TRUE(back->showGrid);
    EXPECT_EQ(back->gridSpacing(), 25);
    EXPECT_EQ(back->frameColor, 0x000080FF);
    EXPECT_EQ(back->backgroundColor, 0x00123456);
}

TEST_F(PanelSettingsTest, FillShowsTheCurrentGeometryOfTheStoredMonitor)
{
    writeBackground("M", "[Settings]\r\nSizeType=1\r\nMonitor=1\r\nWidth=5\r\nHeight=5\r\n[Position]\r\nTop=7\r\n");
    monitors().screens[1] = QRect(1920, 100, 1280, 1024); // changed since the save
    auto m = fill(QStringLiteral("M"));
    m->FormShow();
    EXPECT_EQ(m->monitorIndex(), 1);
    EXPECT_EQ(QStringList({m->width, m->height, m->top, m->left}), QStringList({"1280", "1024", "100", "1920"}));

    // Saved on a PC with more monitors than this one has.
    writeBackground("M", "[Settings]\r\nSizeType=1\r\nMonitor=3\r\n");
    m = fill(QStringLiteral("M"));
    m->FormShow();
    EXPECT_EQ(m->monitorIndex(), 0);
    EXPECT_EQ(QStringList({m->width, m->left}), QStringList({"1920", "0"}));
}

TEST_F(PanelSettingsTest, FillImagePanelWithItsOwnSize)
{
    writeSettings("I", "PanelBGImage=PanelBackgroundImage.png\r\nPanelBGColor=$FF\r\n");
    writeBackground("I", "[Settings]\r\nType=1\r\nUseImageSize=0\r\nFrameColor=clwhite\r\nFrameWidth=99\r\n"
                         "GridSpacing=0\r\n");
    auto m = fill(QStringLiteral("I"));
    m->FormShow();
    EXPECT_EQ(m->type(), M::TypeImage);
    EXPECT_TRUE(m->imageGroupVisible());
    EXPECT_FALSE(m->imageSize());
    EXPECT_TRUE(m->imageSizeEnabled());
    EXPECT_EQ(m->imageFile, QLatin1String("PanelBackgroundImage.png"));
    EXPECT_EQ(m->backgroundColor, 255);
    EXPECT_EQ(m->frameColor, 0x00FFFFFF);
    EXPECT_EQ(m->frameWidth(), 50);
    EXPECT_EQ(m->gridSpacing(), 1);
    for (int mode = 0; mode < M::ModeCount; ++mode) {
        m->setSizeType(mode);
        EXPECT_TRUE(m->sizeVisible()) << mode;
    }

    // Switching to Color forgets the picture, and the save writes none.
    makeFolder("I");
    m->setType(M::TypeColor);
    save(QStringLiteral("I"), *m);
    EXPECT_TRUE(linesOf("I", "I.ini").contains(QLatin1String("PanelBGImage=")));
}

TEST_F(PanelSettingsTest, StoredItemIndexesOutsideTheLists)
{
    makeFolder("R");
    writeBackground("R", "[Settings]\r\nType=4\r\nSizeType=9\r\n");
    auto m = fill(QStringLiteral("R"));
    EXPECT_EQ(m->type(), M::TypeImage);
    EXPECT_EQ(m->sizeType(), M::NoBackground);
    EXPECT_FALSE(m->imageSizeEnabled()); // enabled only for a stored 1

    writeBackground("R", "[Settings]\r\nType=-1\r\nSizeType=-5\r\n");
    m = fill(QStringLiteral("R"));
    m->FormShow();
    save(QStringLiteral("R"), *m);
    const QStringList lines = linesOf("R", "PanelBackGround.ini");
    EXPECT_TRUE(lines.contains(QLatin1String("Type=-1")));
    EXPECT_TRUE(lines.contains(QLatin1String("SizeType=-1")));
}

TEST_F(PanelSettingsTest, FillStopsAtAFrameColourThatIsNoColour)
{
    writeBackground("F", "[Settings]\r\nFrameColor=pink\r\n");
    EXPECT_THROW(fill(QStringLiteral("F")), VarnoltError);
}

} // namespace

TEST_F(PanelSettingsTest, BothFileRecordsReadBackAsWritten)
{
    makeFolder(QStringLiteral("R"));
    const QString panelFile = PanelFolder(iniPath(), QStringLiteral("R")).settingsFile();
    const QString backgroundFile = PanelFolder(iniPath(), QStringLiteral("R")).backgroundSettingsFile();

    // Every field away from its default, so a key written under one name and read under another shows.
    PanelSettingsFile panel;
    panel.panelName = QStringLiteral("Stored name");
    panel.image = QStringLiteral("PanelBackgroundImage.png");
    panel.backgroundColor = 0x00123456;
    panel.showBackground = false;
    panel.panelMonitor = 1;
    panel.showBezels = false;
    panel.enableLighting = true;
    WritePanelSettingsFile(tp.ini, panelFile, panel, tp.monitors);
    EXPECT_EQ(ReadPanelSettingsFile(tp.ini, panelFile, QStringLiteral("R")), panel);

    BackgroundFile background;
    background.type = 1;
    background.frameColor = 0x00FF0000;
    background.width = QStringLiteral("1024");
    background.height = QStringLiteral("768");
    background.useImageSize = false;
    background.showFrame = false;
    background.frameWidth = 7;
    background.showGrid = true;
    background.gridSpacing = 12;
    background.sizeType = 2;
    background.monitor = 1;
    background.top = -20;
    background.left = 1930;
    WriteBackgroundFile(tp.ini, backgroundFile, background);
    EXPECT_EQ(ReadBackgroundFile(tp.ini, backgroundFile), background);

    // Missing files read as the defaults.
    EXPECT_EQ(ReadPanelSettingsFile(tp.ini, panelFile + QStringLiteral(".gone"), QStringLiteral("R")).panelName,
              QLatin1String("R"));
    EXPECT_EQ(ReadBackgroundFile(tp.ini, backgroundFile + QStringLiteral(".gone")), BackgroundFile{});
}
