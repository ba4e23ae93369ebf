#include "app/MainController.h"
#include "app/ProgramViews.h"
#include "app/QtPrompter.h"
#include "app/TfrmMain.h"
#include "net/AdapterChooser.h"
#include "net/NetworkConfigModel.h"
#include "net/TfrmSelAdapter.h"
#include "net/TfrmSetPort.h"
#include "support/GuiScript.h"
#include "support/TestPlatform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct NetworkDialogs : ::testing::Test
{
    int acted = 0;
    std::function<void(QWidget*)> counted(std::function<void(QWidget*)> act)
    {
        return [this, act](QWidget* w) {
            ++acted;
            act(w);
        };
    }

    TestPlatform t;
    QtPrompter prompter{programViews()};
    MainController controller{t.platform(), prompter, {}};
    TfrmMain window{controller};

    NetworkDialogs() { prompter.setOwner(&window); }
    QByteArray settingsFile() const { return TestPlatform::readBytes(t.settingsFile()); }
};

} // namespace

TEST_F(NetworkDialogs, NetworkConfigFromTheRibbonFollowsTheSwitchAndSavesOnlyOnOk)
{
    TestPlatform::writeBytes(t.settingsFile(), "[Config]\r\nAutoStart=yes\r\nListenPort=48000\r\n");
    controller.startUp();
    const QByteArray before = settingsFile();

    // Cancel (Escape) after edits changes nothing.
    whenOpen<TfrmSetPort>(counted([](QWidget* dialog) {
        child<QLineEdit>(dialog, "edMulti")->setText(QStringLiteral("239.0.0.1"));
        child<QCheckBox>(dialog, "cbDeclutter")->setChecked(true);
        QTest::keyClick(dialog, Qt::Key_Escape);
    }));
    window.action(QStringLiteral("aPortNumber"))->trigger();
    EXPECT_EQ(settingsFile(), before);
    EXPECT_EQ(controller.session().settings.MulticastGroup, QStringLiteral("224.11.5.62"));

    whenModal(counted([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Varnolt Network Config"));
        QStringList labels;
        for (auto* l : dialog->findChildren<QLabel*>())
            labels << l->text();
        EXPECT_TRUE(labels.contains(QStringLiteral("Flight Sim Port No  (DCS Interface)")))
            << qPrintable(labels.join('|'));
        EXPECT_EQ(child<QLineEdit>(dialog, "edPort")->text(), QStringLiteral("48000"));

        auto* switching = child<QCheckBox>(dialog, "cbPanelSwitching");
        auto* autoStart = child<QCheckBox>(dialog, "cbAutoStart");
        EXPECT_FALSE(autoStart->isEnabled());
        EXPECT_TRUE(autoStart->isChecked());
        QTest::mouseClick(switching, Qt::LeftButton, {}, QPoint(5, switching->height() / 2));
        EXPECT_TRUE(autoStart->isEnabled());
        switching->setChecked(false); // a change made by code counts as a click
        EXPECT_FALSE(autoStart->isEnabled());
        EXPECT_TRUE(autoStart->isChecked());

        child<QLineEdit>(dialog, "edPort")->setText(QStringLiteral(" 48001 "));
        child<QPushButton>(dialog, "bbOK")->click();
    }));
    window.action(QStringLiteral("aPortNumber"))->trigger();
    const QByteArray file = settingsFile();
    EXPECT_TRUE(file.contains("ListenPort= 48001 \r\n")) << file.constData();
    EXPECT_TRUE(file.contains("PanelSwitching=no\r\n")) << file.constData();
    EXPECT_TRUE(file.contains("AutoStart=yes\r\n")) << file.constData();
    EXPECT_EQ(controller.session().settings.ListenPort, QStringLiteral(" 48001 "));
    EXPECT_EQ(acted, 2);
}

TEST(NetworkConfigWindow, TabGoesTopToBottom)
{
    NetworkConfigModel model;
    model.setPanelSwitching(true); // every box can take the focus
    TfrmSetPort dialog(model);
    QStringList order;
    QWidget* w = dialog.findChild<QWidget*>(QStringLiteral("edMulti"));
    for (int i = 0; w && i < 10; ++i) {
        order << w->objectName();
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled());
    }
    EXPECT_EQ(order, QStringList({"edMulti", "edIPAddress", "edPort", "edDCSPort", "cbPanelSwitching", "cbAutoStart",
                                  "cbMonitorChecking", "cbDeclutter", "bbOK", "bbCancel"}));
}

TEST_F(NetworkDialogs, AdapterChooserIsOneWindowReusedAndAnswersHoweverClosed)
{
    QWidget* chooser = nullptr;
    const QStringList first{QStringLiteral("10.0.0.5"), QStringLiteral("192.168.1.20")};

    whenModal(counted([&chooser, first](QWidget* dialog) {
        chooser = dialog;
        EXPECT_NE(qobject_cast<TfrmSelAdapter*>(dialog), nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Select Network Adapter"));
        auto* list = child<QComboBox>(dialog, "dropdownAdapters");
        EXPECT_FALSE(list->isEditable());
        EXPECT_EQ(list->count(), 2);
        EXPECT_EQ(list->currentText(), first[0]);
        list->setCurrentIndex(1);
        dialog->close(); // the title bar's close button
    }));
    EXPECT_EQ(ChooseAdapter(prompter, first), first[1]);

    const QStringList second{QStringLiteral("172.16.0.1"), QStringLiteral("172.16.0.1")};
    whenModal(counted([chooser](QWidget* dialog) {
        EXPECT_EQ(dialog, chooser);
        auto* list = child<QComboBox>(dialog, "dropdownAdapters");
        EXPECT_EQ(list->count(), 2) << "entries replaced, duplicates kept";
        EXPECT_EQ(list->currentIndex(), 0);
        child<QPushButton>(dialog, "bbOK")->click();
    }));
    EXPECT_EQ(ChooseAdapter(prompter, second), second[0]);
    // Kept by the main window, not made anew for each use.
    EXPECT_EQ(window.findChildren<TfrmSelAdapter*>(), QList<TfrmSelAdapter*>{qobject_cast<TfrmSelAdapter*>(chooser)});
    EXPECT_EQ(acted, 2);
}

TEST_F(NetworkDialogs, AnOpenMessageBoxHoldsControlDatagramsBack)
{
    EXPECT_FALSE(prompter.modalOpen());
    int lastClosed = 0;
    QObject::connect(&prompter, &Prompter::lastModalClosed, [&] { ++lastClosed; });
    bool openWhileShown = false;
    whenModal(counted([&](QWidget* box) {
        openWhileShown = prompter.modalOpen();
        qobject_cast<QDialog*>(box)->done(0);
    }));
    static_cast<Prompter&>(prompter).message(MessageKind::Information, QStringLiteral("Saved"));
    EXPECT_EQ(acted, 1);
    EXPECT_TRUE(openWhileShown);
    EXPECT_FALSE(prompter.modalOpen());
    EXPECT_EQ(lastClosed, 1);

    // A message over a dialog: only the closing of the dialog below it is the last.
    whenModal(counted([&](QWidget* chooser) {
        whenModal(counted([&](QWidget* box) { qobject_cast<QDialog*>(box)->done(0); }));
        static_cast<Prompter&>(prompter).message(MessageKind::Information, QStringLiteral("Over the chooser"));
        EXPECT_EQ(lastClosed, 1);
        EXPECT_TRUE(prompter.modalOpen());
        qobject_cast<QDialog*>(chooser)->done(0);
    }));
    AdapterChooserModel model;
    model.entries = {QStringLiteral("10.0.0.5")};
    prompter.execDialog(model);
    EXPECT_EQ(acted, 3);
    EXPECT_EQ(lastClosed, 2);
}
