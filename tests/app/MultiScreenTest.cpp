#include "app/MainController.h"
#include "app/TfrmMain.h"
#include "platform/ScreenMonitors.h"
#include "support/RecordingSeams.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QAction>

#include <gtest/gtest.h>

TEST(MultiScreen, RealScreensEnableSendTo)
{
    ScreenMonitors screens;
    ASSERT_EQ(screens.count(), 2);
    EXPECT_EQ(screens.bounds(1), QRect(1920, 0, 1280, 1024));
    EXPECT_EQ(screens.virtualDesktopSize(), QSize(3200, 1080));

    TestPlatform t;
    Platform platform = t.platform();
    platform.monitors = &screens;
    ScriptedPrompter prompter;
    RecordingSeams seams;
    MainController controller(platform, prompter, {});
    controller.setSeams(seams);
    TfrmMain window(controller);
    window.show();
    EXPECT_TRUE(window.action("aSendToMonitor")->isEnabled());
    EXPECT_EQ(controller.session().StartupLayout.ScreenCount, 2);
    EXPECT_EQ(controller.session().StartupLayout.ScreenHeight[1], 1024);
}
