#include "app/MainController.h"
#include "app/ProgramViews.h"
#include "app/QtPrompter.h"
#include "app/TfrmMain.h"
#include "exchange/PanelExchange.h"
#include "exchange/SendToMonitor.h"
#include "support/GuiScript.h"
#include "support/RecordingSeams.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

TEST(TfrmSelMonitor, OffersTheListedMonitorsOnlyAndAnswersOkAndEscape)
{
    QtPrompter prompter{programViews()};
    MonitorChooserModel model;
    model.monitors = {"1", "2", "3"};

    whenModal([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Select Monitor");
        auto* combo = child<QComboBox>(dialog, "cbMonitor");
        ASSERT_NE(combo, nullptr);
        EXPECT_FALSE(combo->isEditable());
        EXPECT_EQ(combo->count(), 3);
        EXPECT_EQ(combo->currentText(), "1");
        combo->setCurrentIndex(2);
        child<QPushButton>(dialog, "bbOK")->click();
    });
    EXPECT_TRUE(prompter.execDialog(model));
    EXPECT_EQ(model.selected, 2);

    whenModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_FALSE(prompter.execDialog(model));
}

TEST(TfrmSelMonitor, RibbonActionsReachSendToExportAndImport)
{
    TestPlatform t;
    ScriptedPrompter prompter;
    RecordingSeams seams;
    MainController controller{t.platform(), prompter, {}};
    controller.setSeams(seams);
    t.monitors.screens.push_back(QRect(1920, 0, 1280, 1024)); // Send To needs a second monitor
    TfrmMain window(controller);
    window.show();
    controller.startUp();
    controller.session().loaded().record().Name = "P";
    const QString folder = t.panelFolder("P");
    TestPlatform::writeBytes(folder + "/A1.ini", "[Position]\r\nMonitor=0\r\n");
    TestPlatform::writeBytes(folder + "/B1.ini", "[Position]\r\nMonitor=1\r\n");

    window.action("aSendToMonitor")->trigger();
    window.action("aExport")->trigger();
    prompter.answerFile(std::nullopt);
    window.action("aImport")->trigger();

    EXPECT_EQ(prompter.messageTexts(), QStringList({SpreadOverMonitorsMessage, NothingToExportMessage}));
    ASSERT_EQ(prompter.fileRequests.size(), 1u);
    EXPECT_EQ(prompter.fileRequests[0].title, ImportTitle);
}
