#include "app/MainController.h"
#include "app/ProgramViews.h"
#include "app/QtPrompter.h"
#include "app/TfrmLog.h"
#include "app/TfrmMain.h"
#include "support/GuiScript.h"
#include "support/TestPlatform.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(LogViewer, TheMenuEntryShowsTheLogAndRefreshReadsItAgain)
{
    TestPlatform tp;
    QtPrompter prompter{programViews()};
    MainController controller(tp.platform(), prompter, {});
    TfrmMain window(controller);
    prompter.setOwner(&window);
    window.show();
    controller.startUp();

    bool seen = false;
    whenOpen<TfrmLog>([&](TfrmLog* d) {
        auto* text = child<QPlainTextEdit>(d, "edLog");
        EXPECT_TRUE(text->toPlainText().contains(" Varnolt V2.15.1 started")) << text->toPlainText().toStdString();
        controller.log().write("written while the viewer is open");
        EXPECT_FALSE(text->toPlainText().contains("written while"));
        child<QPushButton>(d, "btRefresh")->click();
        EXPECT_TRUE(text->toPlainText().contains("written while the viewer is open"));
        seen = true;
        d->reject();
    });
    window.action("aShowLog")->trigger();
    EXPECT_TRUE(seen);
}
