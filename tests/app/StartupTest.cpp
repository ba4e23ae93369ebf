#include "app/MainController.h"
#include "panels/PanelChooser.h"
#include "platform/Paths.h"
#include "support/RecordingSeams.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

struct Startup : ::testing::Test
{
    TestPlatform t;
    ScriptedPrompter prompter;
    RecordingSeams seams;
    std::unique_ptr<MainController> controller;

    void start(QStringList arguments, const QByteArray& settings = "[Config]\r\nLastPanelUsed=Last\r\n")
    {
        controller = std::make_unique<MainController>(t.platform(), prompter, arguments);
        controller->setSeams(seams);
        TestPlatform::writeBytes(t.settingsFile(), settings);
        controller->startUp();
    }
    Session& session() { return controller->session(); }
};

} // namespace

TEST_F(Startup, CommandLineChoosesThePanelAndWhetherItStarts)
{
    const struct
    {
        QStringList arguments;
        QString lookedUp; // empty: no look-up
        bool started;
    } cases[] = {
        // clang-format off
        {{}, "Last", false},
        {{"start"}, "Last", true},
        {{"Start"}, "Start", true},     // only the exact word asks for the last panel
        {{"Left"}, "Left", true},
        {{"Left", "Right"}, "Last", false}, // two arguments are ignored
        // clang-format on
    };
    for (const auto& c : cases) {
        seams.calls.clear();
        seams.existingPanels = {"Last", "Start", "Left"};
        start(c.arguments);
        const QStringList expected = {
            "CreateProcessList",
            QStringLiteral("OpenPanel(%1)").arg(c.lookedUp),
            "StartControlListener",
        };
        QStringList calls = seams.calls;
        const bool started = calls.removeAll("StartPanel") == 1;
        EXPECT_EQ(calls, expected) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(started, c.started) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(session().loaded().documentName(), c.lookedUp);
        EXPECT_TRUE(controller->actions().startEnabled);
    }
}

TEST_F(Startup, MissingOrEmptyPanelMeansNoPanelAndNoStart)
{
    start({"start"}, "[Config]\r\nLastPanelUsed=\r\n");
    EXPECT_EQ(seams.calls, QStringList({"CreateProcessList", "StartControlListener"}));
    EXPECT_TRUE(prompter.messages.empty());

    seams.calls.clear();
    start({"Gone"});
    EXPECT_EQ(seams.calls, QStringList({"CreateProcessList", "OpenPanel(Gone)", "StartControlListener"}));
    EXPECT_TRUE(session().loaded().record().Name.isEmpty());
    EXPECT_FALSE(controller->actions().startEnabled);
    EXPECT_EQ(session().ribbonTitle(), "Varnolt Professional");
}

// A panel that is there but cannot be read: its error is shown and start-up goes on to open the listener,
// without the automatic start. It stays the last used panel until the user picks another or none, so once its
// file is mended the next start opens it.
TEST_F(Startup, AnUnreadablePanelIsReportedTheListenerOpensAndItStaysTheLastUsed)
{
    const auto choose = [this](const QString& name) {
        prompter.answerDialog([name](DialogModel& m) {
            auto& chooser = dynamic_cast<PanelChooserModel&>(m);
            chooser.panels = {name};
            chooser.selected = 0;
            return true;
        });
        controller->aLoadPanelExecute();
    };
    TestPlatform::writeBytes(t.panelFolder("Other") + "/Other.cfg", "");
    const struct
    {
        const char* what;
        std::function<void()> then; // what the user does before closing
        const char* lastUsed;
    } cases[] = {
        {"nothing", [] {}, "Broken"},
        {"cancels Load",
         [&] {
             prompter.answerDialog([](DialogModel&) { return false; });
             controller->aLoadPanelExecute();
         },
         "Broken"},
        {"loads another", [&] { choose("Other"); }, "Other"},
        {"chooses one that is gone", [&] { choose("Gone"); }, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        seams.calls.clear();
        seams.unreadablePanels = {"Broken"};
        prompter.messages.clear();
        start({"start"}, "[Config]\r\nLastPanelUsed=Broken\r\n");
        EXPECT_EQ(seams.calls, QStringList({"CreateProcessList", "OpenPanel(Broken)", "StartControlListener"}));
        EXPECT_EQ(prompter.messageTexts(),
                  QStringList({"Line 3 of \"Broken.cfg\" does not hold the eight fields of an instrument"}));
        EXPECT_FALSE(session().loaded().isLoaded());
        EXPECT_FALSE(controller->actions().startEnabled);

        c.then();
        controller->FormClose();
        EXPECT_EQ(t.ini.readString(t.settingsFile(), "Config", "LastPanelUsed", "unset"), c.lastUsed);
    }
}

TEST_F(Startup, SendToFollowsTheMonitorCountAtShow)
{
    start({});
    EXPECT_FALSE(controller->actions().sendToEnabled);
    t.monitors.screens.push_back(QRect(1920, 0, 1280, 1024));
    start({});
    EXPECT_TRUE(controller->actions().sendToEnabled);
    EXPECT_EQ(session().MonitorCount, 2);
    EXPECT_EQ(session().StartupLayout.ScreenWidth[1], 1280);
}

TEST_F(Startup, CloseEndsControlRecordsThenSavesThenStopsThenClosesTheListener)
{
    seams.existingPanels = {"Last"};
    start({});
    seams.running = true;
    seams.calls.clear();
    controller->FormClose();
    EXPECT_EQ(seams.calls, QStringList({"EndControlDelivery", "SaveLoadedPanel(Last)", "StopPanel",
                                        "DestroyProcessList", "StopControlListener"}));
    EXPECT_TRUE(TestPlatform::readBytes(t.settingsFile()).contains("LastPanelUsed=Last\r\n"));
}

TEST_F(Startup, AFailedSaveIsShownOnceAndTheCloseGoesOn)
{
    seams.existingPanels = {"Last"};
    start({});
    seams.running = true;
    QDir(t.root() + "/appdata/Brondix").rename("HarvolmPRO", "moved"); // the folder is gone: writes must fail
    seams.failSave = true;
    seams.calls.clear();
    controller->FormClose();
    // Both saves are tried; their messages come in one box.
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].kind, MessageKind::Error);
    const QStringList lines = prompter.messages[0].text.split(u'\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "Unable to write to list");
    EXPECT_EQ(lines[1], "Unable to write to " + nativePath(t.root() + "/appdata/Brondix/HarvolmPRO/varnolt.ini"));
    EXPECT_EQ(seams.calls, QStringList({"EndControlDelivery", "SaveLoadedPanel(Last)", "StopPanel",
                                        "DestroyProcessList", "StopControlListener"}));
    EXPECT_TRUE(controller->closed());

    // A second close (the window's button after a signal) neither saves nor shows anything again.
    seams.calls.clear();
    controller->FormClose();
    EXPECT_TRUE(seams.calls.isEmpty());
    EXPECT_EQ(prompter.messages.size(), 1u);
}

TEST_F(Startup, RestoreStopsOnlyARunningPanel)
{
    start({});
    seams.calls.clear();
    controller->OnRestore();
    EXPECT_TRUE(seams.calls.isEmpty());
    seams.running = true;
    controller->OnRestore();
    EXPECT_EQ(seams.calls, QStringList({"StopPanel"}));
}

TEST_F(Startup, ManualOpensOnlyWhenPresent)
{
    start({});
    controller->aUserManualExecute();
    EXPECT_TRUE(t.shell.opened.isEmpty());
    // Missing: said, naming both places looked in.
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "The user manual \"Varnolt Manual.pdf\" was found neither in " +
                                             nativePath(t.env.currentDir) + " nor in " + nativePath(t.root() + "/bin") +
                                             ".");
    prompter.messages.clear();
    // Beside the program, as installed.
    TestPlatform::writeBytes(t.root() + "/bin/Varnolt Manual.pdf", "%PDF");
    controller->aUserManualExecute();
    EXPECT_EQ(t.shell.opened, QStringList({nativePath(t.root() + "/bin/Varnolt Manual.pdf")}));
    t.shell.opened.clear();
    TestPlatform::writeBytes(t.env.currentDir + "/Varnolt Manual.pdf", "%PDF");
    controller->aUserManualExecute();
    controller->aWebSiteExecute();
    const QString manual = nativePath(t.env.currentDir + "/Varnolt Manual.pdf");
    EXPECT_EQ(t.shell.opened, QStringList({manual, WebSiteAddress}));
    EXPECT_TRUE(prompter.messages.empty());

    // No viewer, no browser: said, not swallowed.
    t.shell.fails = true;
    controller->aUserManualExecute();
    controller->aWebSiteExecute();
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0].text,
              "\"" + manual + "\" cannot be opened: no program to show PDF files was found.");
    EXPECT_EQ(prompter.messages[1].text, WebSiteAddress + " cannot be opened: no web browser was found.");
}
