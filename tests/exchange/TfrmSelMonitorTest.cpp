#include "app/QtPrompter.h"
#include "exchange/SendToMonitor.h"

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
    QtPrompter prompter;
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
