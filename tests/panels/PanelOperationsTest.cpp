#include "panels/PanelOperations.h"
#include "app/MainController.h"
#include "app/Session.h"
#include "exchange/PanelArchive.h"
#include "instruments/InstrumentListStore.h"
#include "panels/PanelChooser.h"
#include "panels/PanelSettings.h"
#include "panels/PanelSetupModel.h"
#include "settings/Folders.h"
#include "settings/PanelFolder.h"
#include "settings/PanelFolders.h"
#include "support/LoadPanel.h"
#include "support/PanelWorld.h"
#include "support/ScriptedPrompter.h"
#include "support/SystemProbe.h"
#include "support/TestPlatform.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <functional>
#include <gtest/gtest.h>

namespace {

const QByteArray kRow =
    "\"Airspeed\",\"47001\",\"Instruments_Standard\\A@Airspeed.exe\",\"Y\",\"1.2.3.4\",\"45000\",\"1\",\"1\"\r\n";

struct PanelOps : ::testing::Test, PanelWorld
{
    PanelOps() { TestPlatform::writeBytes(t.root() + "/bin/Instruments_Standard/A@Airspeed.exe", "program"); }

    QString folder(const QString& name) const { return t.panelFolder(name); }
    // A panel as the program writes it: settings, one instrument row, background settings.
    void makePanel(const QString& name, const QByteArray& cfg = kRow)
    {
        TestPlatform::writeBytes(folder(name) + "/" + name + ".ini",
                                 "[Config]\r\nPanelName=" + name.toLatin1() + "\r\n");
        TestPlatform::writeBytes(folder(name) + "/" + name + ".cfg", cfg);
        TestPlatform::writeBytes(folder(name) + "/PanelBackGround.ini", "[Settings]\r\nType=0\r\n");
    }
    QStringList filesIn(const QString& name) const
    {
        return QDir(folder(name)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    void choose(const QString& entry)
    {
        prompter.answerDialog([entry](DialogModel& m) {
            auto& chooser = dynamic_cast<PanelChooserModel&>(m);
            chooser.selected = int(chooser.panels.indexOf(entry));
            return true;
        });
    }
    void newPanelNamed(const QString& name)
    {
        prompter.answerDialog([name](DialogModel& m) {
            auto& dialog = dynamic_cast<PanelSetupModel&>(m);
            dialog.FormShow();
            dialog.panelName = name;
            return dialog.bbOKClick();
        });
    }
};

} // namespace

TEST_F(PanelOps, ListingLeavesOutNamesNoPanelCanHaveButKeepsFiles)
{
    makePanel("A");
    QDir().mkpath(folder(""));                     // "Panel_": an empty entry
    QDir().mkpath(folder(QString(110, u'x')));     // longer than a panel name may be
    TestPlatform::writeBytes(folder("file"), "x"); // a plain file is listed too

    QStringList listed = s.loaded().panels().names();
    listed.sort();
    EXPECT_EQ(listed, QStringList({"A", "file"}));

    // Choosing the plain file: reported missing, nothing loaded.
    loadPanel(s.loaded(), "A");
    choose("file");
    ops.aLoadPanelExecute();
    EXPECT_EQ(prompter.messageTexts(), QStringList({"Panel file configuration is missing! - Create Panel again"}));
    EXPECT_EQ(s.loaded().record().Name, "");
    EXPECT_EQ(s.loaded().documentName(), "");
}

TEST_F(PanelOps, ContainsSearchIsCaseSensitiveFirstPlainFolderInListingOrder)
{
    makePanel("F-16C");
    makePanel("F-16A");
    makePanel("Left Panel_2");
    makePanel("Locked");
    setPlainFolder(folder("Locked"), false);

    QString firstListed;
    for (const DirEntry& e : t.files.list(s.folders.IniPath + "\\Panel_*")) {
        if (e.name.contains("F-16")) {
            firstListed = e.name.mid(6);
            break;
        }
    }
    EXPECT_EQ(s.loaded().panels().findContaining("F-16"), firstListed);

    const struct
    {
        const char* name;
        const char* found;
    } cases[] = {{"f-16", ""}, {"Left", "Left Panel_2"}, {"Locked", ""}, {"", ""}};
    for (const auto& c : cases) {
        const std::optional<QString> found = s.loaded().panels().findContaining(c.name);
        EXPECT_EQ(found.value_or(QString()), c.found) << c.name;
        EXPECT_EQ(found.has_value(), *c.found != 0) << c.name;
    }
    EXPECT_TRUE(prompter.messages.empty()) << "a search does not report";

    EXPECT_EQ(s.loaded().panels().find("Left Panel_2"), "Left Panel_2");
    EXPECT_FALSE(s.loaded().panels().find("Left")) << "the exact test does not search";
}

TEST_F(PanelOps, NewPanelCreatesExactlyItsThreeFiles)
{
    // Left at "[New Panel]": nothing is created, the loaded panel stays.
    makePanel("Old");
    loadPanel(s.loaded(), "Old");
    newPanelNamed("[New Panel]");
    ops.aNewPanelExecute(s.MonitorCount);
    EXPECT_EQ(s.loaded().record().Name, "Old");
    EXPECT_EQ(s.loaded().instruments().count(), 1);

    newPanelNamed("A");
    ops.aNewPanelExecute(s.MonitorCount);
    EXPECT_EQ(filesIn("A"), QStringList({"A.cfg", "A.ini", "PanelBackGround.ini"}));
    EXPECT_EQ(QFile(folder("A") + "/A.cfg").size(), 0);
    EXPECT_EQ(s.loaded().record().Name, "A");
    EXPECT_EQ(s.loaded().instruments().count(), 0);
    EXPECT_EQ(s.loaded().documentName(), "A");
    EXPECT_TRUE(TestPlatform::readBytes(folder("Old") + "/Old.cfg").contains("Airspeed")) << "the old panel was saved";
}

TEST_F(PanelOps, NewPanelRefusesNamesThatCannotBeFoldersOrExist)
{
    makePanel("Taken");
    const QString names[] = {"   ",
                             " lead",
                             "trail ",
                             "a/b",
                             "a\\b",
                             "a:b",
                             "a*b",
                             "a?b",
                             "a\"b",
                             "a<b",
                             "a>b",
                             "a|b",
                             "..",
                             ".",
                             QStringLiteral("tab\there"),
                             QStringLiteral("\u0416uk"),
                             "Taken"};
    for (const QString& name : names) {
        prompter.messages.clear();
        newPanelNamed(name); // OK is refused with a message; the user then cancels
        ops.aNewPanelExecute(s.MonitorCount);
        ASSERT_EQ(prompter.messages.size(), 1u) << name.toStdString();
        if (name == "Taken") {
            EXPECT_EQ(prompter.messages[0].text, "Panel Taken already exists! - Choose a different name");
        }
        EXPECT_TRUE(prompter.scriptUsedUp());
    }
    QStringList panels = QDir(t.settingsFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    EXPECT_EQ(panels, QStringList({"Panel_Taken"}));
    EXPECT_EQ(filesIn("Taken"), QStringList({"PanelBackGround.ini", "Taken.cfg", "Taken.ini"}));
    EXPECT_EQ(s.loaded().record().Name, "");
}

// Names the panel chooser could not list whole, or the file system could not hold as "Panel_" + name and
// name + ".cfg"/".ini", are refused before anything is made; the loaded panel stays as it was.
TEST_F(PanelOps, NamesTooLongForTheChooserOrTheDiskAreRefusedUpFront)
{
    const long limit = nameLimit(t.settingsFolder());
    const QString euro = QStringLiteral("\u20ac"); // three bytes on disk on Linux, one unit on Windows
    // The most "Panel_" + name can carry, with room for a save's temporary ".XXXXXX" beside the files.
    const int euros = int((limit - 6 - 7) / nameLength(euro));
    const QString tooLongForChooser = QStringLiteral("A panel name can have at most 99 characters.");
    const QString tooLongForDisk =
        QStringLiteral("The panel name is too long for the file system's folder and file names. "
                       "Please choose a shorter name.");
    struct Case
    {
        QString name;
        QString problem; // empty: accepted
    };
    std::vector<Case> cases = {{QString(99, u'n'), {}}, {QString(100, u'n'), tooLongForChooser}};
    if (euros < 99) // a file system with the usual limit of 255 bytes
        cases.insert(cases.end(), {{euro.repeated(euros), {}}, {euro.repeated(euros + 1), tooLongForDisk}});

    makePanel("Old");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        loadPanel(s.loaded(), "Old");
        prompter.messages.clear();
        newPanelNamed(c.name);
        ops.aNewPanelExecute(s.MonitorCount);
        if (c.problem.isEmpty()) {
            // Made, and listed by the chooser under its whole name, so it can be loaded again.
            EXPECT_TRUE(prompter.messages.empty());
            EXPECT_TRUE(s.loaded().panels().names().contains(c.name));
            EXPECT_TRUE(QFile::exists(folder(c.name) + "/" + c.name + ".ini"));
            ops.RemovePanelFolder(c.name);
            continue;
        }
        prompter.answerInput(c.name);
        EXPECT_FALSE(runGuarded(prompter, [&] { ops.aCopyPanelExecute(); }));
        // Refused twice, by New's OK and by Copy, with the same message.
        EXPECT_EQ(prompter.messageTexts(), QStringList({c.problem, c.problem}));
        EXPECT_EQ(QDir(t.settingsFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList({"Panel_Old"}));
        EXPECT_EQ(s.loaded().record().Name, "Old");
        EXPECT_EQ(s.loaded().documentName(), "Old");
        EXPECT_EQ(s.loaded().instruments().count(), 1);
        EXPECT_TRUE(prompter.scriptUsedUp());
    }
}

// Refuses the whole-file writes of one panel's folder, as a full or broken disk would there.
class FailingPanelFolder : public LocalFileSystem
{
public:
    bool writeFile(const QString& path, const QByteArray& data, QString* error) override
    {
        if (!path.contains(QLatin1String("Panel_New")))
            return LocalFileSystem::writeFile(path, data, error);
        if (error)
            *error = QStringLiteral("No space left on device");
        return false;
    }
};

TEST_F(PanelOps, ANewPanelThatCannotBeWrittenLeavesNothingAndThePreviousPanelLoaded)
{
    FailingPanelFolder failing;
    Platform platform = t.platform();
    platform.files = &failing;
    Session session(platform, prompter);
    session.folders = s.folders;
    PanelOperations operations(platform, prompter, session.folders, session.settings, session.loaded());
    makePanel("Old");
    loadPanel(session.loaded(), "Old");
    const PanelRecord before = session.loaded().record();

    newPanelNamed("New");
    EXPECT_FALSE(runGuarded(prompter, [&] { operations.aNewPanelExecute(session.MonitorCount); }));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.startsWith("Panel \"New\" was not created. "))
        << prompter.messages[0].text.toStdString();
    EXPECT_TRUE(prompter.messages[0].text.contains("No space left on device"))
        << prompter.messages[0].text.toStdString();
    EXPECT_FALSE(QDir(folder("New")).exists()) << "the half-made panel is gone";
    EXPECT_EQ(session.loaded().record().Name, before.Name);
    EXPECT_EQ(session.loaded().record().Monitor, before.Monitor);
    EXPECT_EQ(session.loaded().documentName(), "Old");
    EXPECT_EQ(session.loaded().instruments().count(), 1);
}

// The ribbon's Start follows the loaded panel through every operation that loads, replaces or drops one:
// with none running it is enabled exactly while a panel is loaded.
TEST_F(PanelOps, StartFollowsThePanelEachOperationLeavesLoaded)
{
    FailingPanelFolder failing; // a panel named "New" cannot be written
    Platform platform = t.platform();
    platform.files = &failing;
    TestPlatform::writeBytes(folder("Gone"), "listed by the chooser, but no panel folder");
    const QString archive = t.root() + "/cwd/Imported.vrx";
    makePanel("A");
    PanelArchive(t.files).CompressDirectory(PanelFolder(s.folders.IniPath, "A").path(), false, archive);

    const struct
    {
        const char* what;
        bool loadedBefore; // "A" is loaded first
        std::function<void()> answer;
        void (MainController::*act)();
        const char* loadedAfter;
    } cases[] = {
        // clang-format off
        {"Delete answered No",         true,  [&] { prompter.answerMessage(MessageButton::No); },
         &MainController::aDeletePanelExecute, "A"},
        {"Delete",                     true,  [&] { prompter.answerMessage(MessageButton::Yes); },
         &MainController::aDeletePanelExecute, ""},
        {"New",                        false, [&] { newPanelNamed("Fresh"); },
         &MainController::aNewPanelExecute,    "Fresh"},
        {"New that cannot be written", true,  [&] { newPanelNamed("New"); },
         &MainController::aNewPanelExecute,    "A"},
        {"Copy",                       true,  [&] { prompter.answerInput(QStringLiteral("Copied")); },
         &MainController::aCopyPanelExecute,   "Copied"},
        {"Import",                     false, [&] { prompter.answerFile(archive); },
         &MainController::aImportExecute,      "Imported"},
        {"Load of a missing panel",    true,  [&] { choose("Gone"); },
         &MainController::aLoadPanelExecute,   ""},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        makePanel("A"); // again after Delete
        MainController controller(platform, prompter, {});
        controller.startUp();
        if (c.loadedBefore)
            loadPanel(controller.session().loaded(), "A");
        ASSERT_EQ(controller.actions().startEnabled, c.loadedBefore);

        c.answer();
        runGuarded(prompter, [&] { (controller.*c.act)(); });
        EXPECT_EQ(controller.session().loaded().name(), c.loadedAfter);
        EXPECT_EQ(controller.actions().startEnabled, *c.loadedAfter != 0);
        EXPECT_TRUE(prompter.scriptUsedUp());
    }
}

TEST_F(PanelOps, CopyTakesTheFilesRenamesThePanelsOwnAndLoadsTheCopy)
{
    makePanel("A");
    TestPlatform::writeBytes(folder("A") + "/PanelBackgroundImage.png", "png");
    TestPlatform::writeBytes(folder("A") + "/A@Airspeed1.ini", "[Position]\r\n");
    loadPanel(s.loaded(), "A");

    prompter.answerInput(QStringLiteral("B"));
    ops.aCopyPanelExecute();
    EXPECT_EQ(filesIn("B"),
              QStringList({"A@Airspeed1.ini", "B.cfg", "B.ini", "PanelBackGround.ini", "PanelBackgroundImage.png"}));
    EXPECT_EQ(t.ini.readString(s.folders.IniPath + "\\Panel_B\\B.ini", "Config", "PanelName", {}), "B");
    EXPECT_EQ(s.loaded().record().Name, "B");
    EXPECT_EQ(s.loaded().documentName(), "B");
    EXPECT_EQ(s.loaded().instruments().count(), 1);
    EXPECT_EQ(prompter.inputs[0], std::make_pair(QStringLiteral("Enter new Panel Name"), QStringLiteral("Panel Name")));

    // Onto an existing folder: silently nothing.
    prompter.answerInput(QStringLiteral("A"));
    ops.aCopyPanelExecute();
    EXPECT_EQ(s.loaded().record().Name, "B");
    EXPECT_TRUE(prompter.messages.empty());

    // An empty list: nothing, not even the question.
    s.loaded().instruments().clear();
    ops.aCopyPanelExecute();
    EXPECT_EQ(prompter.inputs.size(), 2u);
}

TEST_F(PanelOps, CopyKeepsTheNameOfAFileTooShortToCarryTheExtension)
{
    // "AB" without its last four characters is empty, so it is not the panel's own file.
    makePanel("AB");
    TestPlatform::writeBytes(folder("AB") + "/AB", "notes");
    loadPanel(s.loaded(), "AB");

    prompter.answerInput(QStringLiteral("CD"));
    ops.aCopyPanelExecute();
    EXPECT_EQ(filesIn("CD"), QStringList({"AB", "CD.cfg", "CD.ini", "PanelBackGround.ini"}));
}

TEST_F(PanelOps, DeleteAsksAndResetsThePanel)
{
    makePanel("A");
    loadPanel(s.loaded(), "A");
    prompter.answerMessage(MessageButton::No);
    ops.aDeletePanelExecute();
    EXPECT_TRUE(QDir(folder("A")).exists());
    EXPECT_EQ(s.loaded().record().Name, "A");
    EXPECT_EQ(prompter.messages[0].text, "Confirm to delete panel A");
    EXPECT_EQ(prompter.messages[0].buttons, MessageButton::Yes | MessageButton::No);

    s.loaded().record().Monitor = "2";
    prompter.answerMessage(MessageButton::Yes);
    ops.aDeletePanelExecute();
    EXPECT_FALSE(QDir(folder("A")).exists());
    EXPECT_EQ(s.loaded().record().Name, "");
    EXPECT_EQ(s.loaded().record().Monitor, "0");
    EXPECT_EQ(s.loaded().instruments().count(), 0);
    EXPECT_EQ(s.loaded().documentName(), "");

    // With no panel loaded a folder "Panel_" is not the user's choice and is left alone.
    TestPlatform::writeBytes(folder("") + "/keep.txt", "x");
    prompter.answerMessage(MessageButton::Yes);
    ops.aDeletePanelExecute();
    EXPECT_TRUE(QFile::exists(folder("") + "/keep.txt"));
}

TEST_F(PanelOps, EditCancelledRereadsThePanelSettings)
{
    makePanel("A");
    loadPanel(s.loaded(), "A");
    s.loaded().record().ShowBezels = false;
    const QByteArray before = TestPlatform::readBytes(folder("A") + "/A.ini");
    prompter.answerDialog([](DialogModel&) { return false; });
    ops.aEditSettingsExecute(s.MonitorCount);
    EXPECT_EQ(TestPlatform::readBytes(folder("A") + "/A.ini"), before);
    EXPECT_TRUE(s.loaded().record().ShowBezels) << "read again from the file";

    // No panel loaded: no dialog, nothing written.
    s.loaded().record().Name.clear();
    ops.aEditSettingsExecute(s.MonitorCount);
    EXPECT_TRUE(prompter.scriptUsedUp());
}

TEST_F(PanelOps, AFailedReadKeepsThePreviousPanelLoaded)
{
    makePanel("Good");
    makePanel("Broken", kRow + "\"short\",\"line\"\r\n");
    loadPanel(s.loaded(), "Good");

    choose("Broken");
    EXPECT_FALSE(runGuarded(prompter, [&] { ops.aLoadPanelExecute(); }));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.contains("Broken.cfg")) << prompter.messages[0].text.toStdString();
    EXPECT_EQ(s.loaded().record().Name, "Good");
    EXPECT_EQ(s.loaded().documentName(), "Good");
    EXPECT_EQ(s.loaded().instruments().count(), 1);
}

TEST_F(PanelOps, StartUpLoadsTheLastPanelOrReportsItMissing)
{
    makePanel("Cockpit");
    TestPlatform::writeBytes(t.settingsFile(), "[Config]\r\nLastPanelUsed=Cockpit\r\n");
    {
        MainController controller(t.platform(), prompter, {});
        controller.startUp();
        EXPECT_EQ(controller.session().loaded().record().Name, "Cockpit");
        EXPECT_EQ(controller.session().loaded().instruments().count(), 1);
        EXPECT_TRUE(controller.actions().startEnabled);
        EXPECT_TRUE(prompter.messages.empty());
    }
    TestPlatform::writeBytes(t.settingsFile(), "[Config]\r\nLastPanelUsed=X\r\n");
    MainController controller(t.platform(), prompter, {});
    controller.startUp();
    EXPECT_EQ(prompter.messageTexts(), QStringList({"Panel X configuration is missing! - Create Panel again"}));
    EXPECT_EQ(controller.session().loaded().record().Name, "");
    EXPECT_FALSE(controller.actions().startEnabled);
}

TEST_F(PanelOps, StartUpWithAnUnreadableListLoadsNoPanel)
{
    makePanel("Broken", kRow + "\"short\"\r\n");
    TestPlatform::writeBytes(t.settingsFile(), "[Config]\r\nLastPanelUsed=Broken\r\n");
    MainController controller(t.platform(), prompter, {"start"});
    controller.startUp();
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(controller.session().loaded().record().Name, "");
    EXPECT_EQ(controller.session().loaded().instruments().count(), 0);
    EXPECT_FALSE(controller.actions().startEnabled);
}

TEST_F(PanelOps, TheAircraftSearchSeesEveryChangeMadeBetweenTwoLookups)
{
    const QString settings = t.settingsFolder();
    // Changed long ago, so a lookup may rely on what it listed before.
    const auto age = [&] {
        const qint64 hourAgo = (QDateTime::currentSecsSinceEpoch() - 3600) * 1'000'000'000;
        setModifiedNs(settings, hourAgo);
        ASSERT_EQ(fileStamp(settings).modifiedNs, hourAgo);
    };
    const auto rename = [&](const char* from, const char* to) {
        ASSERT_TRUE(QDir().rename(folder(from), folder(to)));
        TestPlatform::writeBytes(folder(to) + "/" + to + ".cfg", kRow); // inside it: the parent stays as it is
    };
    const struct
    {
        const char* what;
        std::function<void()> change;
        bool timesPutBack; // a file system whose times do not move within its granularity
        const char* found;
    } cases[] = {
        {"created", [&] { makePanel("F-16C"); }, false, "F-16C"},
        {"renamed", [&] { rename("F-16C", "F-16CM"); }, false, "F-16CM"},
        {"renamed away", [&] { rename("F-16CM", "Viper"); }, true, ""},
        {"created beside", [&] { makePanel("F-16A"); }, true, "F-16A"},
        {"made read-only", [&] { setPlainFolder(folder("F-16A"), false); }, false, ""},
        {"writable again", [&] { setPlainFolder(folder("F-16A"), true); }, false, "F-16A"},
        {"removed", [&] { QDir(folder("F-16A")).removeRecursively(); }, false, ""},
    };
    makePanel("Cockpit");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        age();
        const FileStamp before = fileStamp(settings);
        s.loaded().panels().findContaining("F-16"); // the lookup before the change, listing the folder
        c.change();
        if (c.timesPutBack)
            setModifiedNs(settings, before.modifiedNs);
        const std::optional<QString> found = s.loaded().panels().findContaining("F-16");
        EXPECT_EQ(found.value_or(QString()), c.found);
        EXPECT_EQ(found.has_value(), *c.found != 0);
        const std::optional<QString> fresh = PanelFolders(t.files, s.folders).findContaining("F-16");
        EXPECT_EQ(found, fresh) << "a first lookup finds otherwise";
    }
}

TEST_F(PanelOps, NewPanelWhenTheLoadedPanelCannotBeSavedSaysSoAndAsksNothing)
{
    makePanel("Old");
    loadPanel(s.loaded(), "Old");
    // The list's place is taken by a folder: the loaded panel cannot be written back.
    ASSERT_TRUE(QFile::remove(folder("Old") + "/Old.cfg"));
    ASSERT_TRUE(QDir().mkpath(folder("Old") + "/Old.cfg/blocked"));
    EXPECT_FALSE(runGuarded(prompter, [&] { ops.aNewPanelExecute(s.MonitorCount); }));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.startsWith(
        "No new panel was made: the instruments of panel \"Old\" could not be saved first. "))
        << prompter.messages[0].text.toStdString();
    EXPECT_TRUE(prompter.scriptUsedUp()) << "no dialog was shown";
    EXPECT_EQ(s.loaded().record().Name, "Old");
}
