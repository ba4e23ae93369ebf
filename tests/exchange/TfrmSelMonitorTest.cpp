#include "app/MainController.h"
#include "app/ProgramViews.h"
#include "app/QtPrompter.h"
#include "app/TfrmMain.h"
#include "exchange/PanelExchange.h"
#include "exchange/SendToMonitor.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QAction>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Runs act on the modal dialog as soon as it is up.
void whenModal(std::function<void(QWidget*)> act, int attemptsLeft = 300)
{
    QTimer::singleShot(10, [act = std::move(act), attemptsLeft]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget())
            act(modal);
        else if (attemptsLeft > 0)
            whenModal(std::move(act), attemptsLeft - 1);
        else
            ADD_FAILURE() << "no modal dialog appeared";
    });
}

} // namespace

TEST(TfrmSelMonitor, OffersTheListedMonitorsOnlyAndAnswersOkAndEscape)
{
    QtPrompter prompter{programViews()};
    MonitorChooserModel model;
    model.monitors = {"1", "2", "3"};

    whenModal([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Select Monitor");
        auto* combo = dialog->findChild<QComboBox*>("cbMonitor");
        ASSERT_NE(combo, nullptr);
        EXPECT_FALSE(combo->isEditable());
        EXPECT_EQ(combo->count(), 3);
        EXPECT_EQ(combo->currentText(), "1");
        combo->setCurrentIndex(2);
        dialog->findChild<QPushButton*>("bbOK")->click();
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
    MainController controller{t.platform(), prompter, {}};
    TfrmMain window(controller);
    Session& s = controller.session();
    s.MonitorCount = 2;
    s.setSendToEnabled(true);
    s.CurrentPanel.Name = "P";
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
