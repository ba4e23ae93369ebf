#include "instruments/TfrmAddInstrument.h"
#include "instruments/TfrmAdd3rdParty.h"

#include "app/MainController.h"
#include "app/ProgramViews.h"
#include "app/QtPrompter.h"
#include "app/TfrmMain.h"
#include "support/GuiScript.h"
#include "support/LoadPanel.h"
#include "support/TestPlatform.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

void checkItem(QTreeWidget* list, int index)
{
    QTreeWidgetItem* item = list->topLevelItem(index);
    ASSERT_NE(item, nullptr);
    const QRect cell = list->visualItemRect(item);
    // The check box sits at the start of the first cell.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 10, cell.center().y()));
}

} // namespace

// The ribbon's Add Instrument opens the browser, the checked entries become rows, and a double-click on a
// row opens the same window narrowed to the row's details.
TEST(TfrmAddInstrument, AddThenEditThroughTheRealWindows)
{
    TestPlatform tp;
    const QString set = tp.root() + "/bin/Instruments_Standard/";
    TestPlatform::writeBytes(set + "P@Airspeed.exe", "MZ");
    TestPlatform::writeBytes(set + "P@Airspeed.ini", "[Info]\r\nShortName=ASI\r\n[Network]\r\nDefaultPort=47010\r\n");
    TestPlatform::writeBytes(set + "E@RPM.exe", "MZ");
    TestPlatform::writeBytes(set + "E@RPM.ini", "[Info]\r\nShortName=RPM\r\n[Network]\r\nDefaultPort=47020\r\n");
    QtPrompter prompter{programViews()};
    MainController controller(tp.platform(), prompter, {});
    TfrmMain window(controller);
    prompter.setOwner(&window);
    window.show();
    controller.startUp();
    TestPlatform::writeBytes(tp.panelFolder("Cockpit") + "/Cockpit.cfg", "");
    loadPanel(controller.session().loaded(), "Cockpit");

    whenOpen<TfrmAddInstrument>([](TfrmAddInstrument* d) {
        EXPECT_EQ(d->windowTitle(), "Add Instrument");
        auto* list = child<QTreeWidget>(d, "lvInstruments");
        ASSERT_EQ(list->topLevelItemCount(), 2);
        EXPECT_EQ(list->topLevelItem(0)->text(0), "Airspeed");
        EXPECT_EQ(child<QLabel>(d, "lName")->text(), "ASI");
        EXPECT_EQ(child<QLineEdit>(d, "edPort")->text(), "47010");

        checkItem(list, 1);
        EXPECT_EQ(list->topLevelItem(1)->checkState(0), Qt::Checked);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(1)).center());
        EXPECT_EQ(child<QLabel>(d, "lName")->text(), "RPM");
        EXPECT_EQ(child<QLineEdit>(d, "edPort")->text(), "47020");
        // Switching the type rebuilds the list without check marks.
        child<QRadioButton>(d, "rgType_3")->click();
        ASSERT_EQ(list->topLevelItemCount(), 1);
        EXPECT_EQ(list->topLevelItem(0)->checkState(0), Qt::Unchecked);
        child<QRadioButton>(d, "rgType_0")->click();
        checkItem(list, 0);
        checkItem(list, 1);
        auto* ok = child<QPushButton>(d, "bbOK");
        EXPECT_EQ(ok->text(), "Add checked instruments");
        ok->click();
    });
    window.findChild<QAction*>("aAddInstrument")->trigger();
    InstrumentListModel& rows = controller.session().loaded().instruments();
    ASSERT_EQ(rows.count(), 2);
    EXPECT_EQ(rows.at(0).Name, "ASI");
    EXPECT_EQ(rows.at(1).field(InstrumentRow::PortNo), "47020");

    whenOpen<TfrmAddInstrument>([](TfrmAddInstrument* d) {
        EXPECT_EQ(d->windowTitle(), "Edit Instrument");
        EXPECT_FALSE(child<QWidget>(d, "pBrowser")->isVisible());
        EXPECT_LE(d->width(), 405);
        EXPECT_EQ(child<QPushButton>(d, "bbOK")->text(), "Save changes");
        auto* port = child<QLineEdit>(d, "edPort");
        EXPECT_EQ(port->text(), "47020");
        port->selectAll();
        QTest::keyClicks(port, "47555");
        child<QPushButton>(d, "bbOK")->click();
    });
    QTreeView* list = window.instrumentList();
    const QRect rpm = list->visualRect(rows.index(1, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rpm.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rpm.center());
    ASSERT_EQ(rows.count(), 2);
    EXPECT_EQ(rows.at(1).field(InstrumentRow::PortNo), "47555");
    EXPECT_EQ(rows.at(1).field(InstrumentRow::InstNo), "1");

    whenOpen<TfrmAdd3rdParty>([](TfrmAdd3rdParty* d) {
        EXPECT_EQ(d->windowTitle(), "Add 3rd Party Application");
        QTest::keyClicks(child<QLineEdit>(d, "edAppName"), "/opt/tools/headtrack");
        QTest::keyClicks(child<QLineEdit>(d, "edParameters"), "-q,-x");
        child<QPushButton>(d, "bbOK")->click();
    });
    window.findChild<QAction*>("a3rdParty")->trigger();
    ASSERT_EQ(rows.count(), 3);
    const auto app = std::find_if(rows.rows().begin(), rows.rows().end(), [](auto& r) { return r.isApplication(); });
    ASSERT_NE(app, rows.rows().end());
    EXPECT_EQ(app->Name, "headtrack");
    EXPECT_EQ(app->field(InstrumentRow::IPAddress), "-q,-x");
}
