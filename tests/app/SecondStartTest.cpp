#include "app/MainController.h"
#include "app/SingleInstance.h"
#include "app/TfrmMain.h"
#include "app/TrayIcon.h"
#include "support/RecordingSeams.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"
#include "support/Wait.h"

#include <QAction>
#include <QMenu>
#include <QUuid>

#include <gtest/gtest.h>

#include <thread>

namespace {

struct SecondStart : ::testing::Test
{
    TestPlatform t;
    ScriptedPrompter prompter;
    RecordingSeams seams;
    MainController controller{t.platform(), prompter, {}};
    std::unique_ptr<TfrmMain> window;

    void open()
    {
        controller.setSeams(seams);
        seams.existingPanels = {"Last", "Left"};
        TestPlatform::writeBytes(t.settingsFile(), "[Config]\r\nLastPanelUsed=Last\r\n");
        window = std::make_unique<TfrmMain>(controller);
        window->show();
        controller.startUp();
        seams.calls.clear();
    }
    QAction* trayAction(TrayIcon& tray, const char* name)
    {
        for (QAction* a : tray.menu()->actions())
            if (a->objectName() == QLatin1String(name))
                return a;
        ADD_FAILURE() << "no " << name;
        return nullptr;
    }
};

} // namespace

TEST(SingleInstance, ALaterStartHandsItsArgumentsToTheCopyThatRuns)
{
    const QString key = SingleInstance::keyFor("/tmp/" + QUuid::createUuid().toString(QUuid::WithoutBraces));
    EXPECT_NE(key, SingleInstance::keyFor("/tmp/other")) << "one key per settings folder";

    SingleInstance first(key);
    EXPECT_FALSE(first.handOver({}, 200)) << "nobody runs yet";
    ASSERT_TRUE(first.listen());
    QList<QStringList> heard;
    QObject::connect(&first, &SingleInstance::started, [&](const QStringList& a) { heard << a; });

    // The later start blocks while it waits for the answer, as it does in its own process.
    bool handed = false;
    std::thread later([&] {
        SingleInstance second(key);
        handed = second.handOver({"Left Panel"});
    });
    EXPECT_TRUE(waitFor([&] { return !heard.isEmpty(); }));
    later.join();
    EXPECT_TRUE(handed);
    EXPECT_EQ(heard, QList<QStringList>{{"Left Panel"}});
}

TEST_F(SecondStart, AnArgumentStartsThatPanelAndNoneBringsTheWindowBack)
{
    open();
    controller.startedAgain({"Left"});
    EXPECT_EQ(seams.calls, QStringList({"OpenPanel(Left)", "StartPanel"}));
    EXPECT_TRUE(window->isMinimized());

    // The same panel asked for again while it runs: nothing to do.
    seams.running = true;
    seams.calls.clear();
    controller.startedAgain({"Left"});
    EXPECT_TRUE(seams.calls.isEmpty());

    // "start" means the last used panel: the running one stops first.
    controller.startedAgain({"start"});
    EXPECT_EQ(seams.calls, QStringList({"StopPanel", "OpenPanel(Last)", "StartPanel"}));

    // No argument: the window comes back, which stops the panel as restoring it always does.
    seams.calls.clear();
    controller.startedAgain({});
    EXPECT_TRUE(waitFor([&] { return !window->isMinimized(); }));
    EXPECT_EQ(seams.calls, QStringList({"StopPanel"}));
}

TEST_F(SecondStart, TheTrayMenuShowsStartsStopsAndExits)
{
    open();
    TrayIcon tray(*window);
    QStringList entries;
    for (QAction* a : tray.menu()->actions())
        if (!a->isSeparator())
            entries << a->text();
    EXPECT_EQ(entries, QStringList({"S&how", "&Start", "S&top", "E&xit"}));

    controller.startedAgain({"Left"});
    ASSERT_TRUE(window->isMinimized());
    seams.running = true;
    seams.calls.clear();
    trayAction(tray, "trayShow")->trigger();
    EXPECT_TRUE(waitFor([&] { return !window->isMinimized(); }));
    EXPECT_EQ(seams.calls, QStringList({"StopPanel"}));

    // Exit works while a panel runs, when the ribbon's Exit is locked.
    seams.running = true;
    seams.calls.clear();
    trayAction(tray, "trayExit")->trigger();
    EXPECT_TRUE(controller.closed());
    EXPECT_TRUE(seams.calls.contains("StopPanel"));
}
