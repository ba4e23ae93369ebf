#include "app/MainController.h"
#include "app/Ribbon.h"
#include "app/TfrmMain.h"
#include "instruments/InstrumentListModel.h"
#include "layout/LayoutWindow.h"
#include "support/LoadPanel.h"
#include "support/RecordingSeams.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <QUdpSocket>

#include <gtest/gtest.h>

namespace {

struct MainWindow : ::testing::Test
{
    TestPlatform t;
    ScriptedPrompter prompter;
    RecordingSeams seams;
    MainController controller{t.platform(), prompter, {}};
    std::unique_ptr<TfrmMain> window;

    void open()
    {
        controller.setSeams(seams);
        window = std::make_unique<TfrmMain>(controller);
        window->show();
        controller.startUp();
    }
    QString caption(const char* action) { return window->action(QString::fromLatin1(action))->text(); }
};

QStringList buttonsOf(RibbonGroup* group)
{
    QStringList out;
    for (auto* b : group->findChildren<QToolButton*>())
        out << (b->property("large").toBool() ? "L:" : "s:") + b->defaultAction()->objectName();
    return out;
}

} // namespace

TEST_F(MainWindow, RibbonTabsGroupsAndActions)
{
    open();
    Ribbon* r = window->ribbon();
    ASSERT_EQ(r->tabCount(), 3);
    EXPECT_EQ(r->tabText(0), "Operation");
    EXPECT_EQ(r->tabText(1), "Building");
    EXPECT_EQ(r->tabText(2), "Configuration");
    EXPECT_EQ(r->currentTab(), 0);

    const QStringList groups[] = {
        {"Control", "Panel", "Program"}, {"Panels", "Instruments", "Exchange"}, {"Networking", "Help"}};
    for (int tab = 0; tab < 3; ++tab) {
        QStringList captions;
        for (auto* g : r->groups(tab))
            captions << g->caption();
        EXPECT_EQ(captions, groups[tab]);
    }

    EXPECT_EQ(buttonsOf(window->group("rgControl")), QStringList({"L:aStartPanel", "L:aStopPanel"}));
    EXPECT_EQ(buttonsOf(window->group("rgLoading")),
              QStringList({"L:aLoadPanel", "s:aEditSettings", "s:aSendToMonitor", "s:aLayout"}));
    EXPECT_EQ(buttonsOf(window->group("rgPanels")),
              QStringList({"L:aNewPanel", "s:aEditSettings", "s:aCopyPanel", "s:aDeletePanel"}));
    EXPECT_EQ(
        buttonsOf(window->group("rgInstruments")),
        QStringList({"s:aAddInstrument", "s:a3rdParty", "s:aEditInstrument", "s:aDeleteInstrument", "s:aResetPos"}));

    EXPECT_EQ(caption("aStopPanel"), "S&top");
    EXPECT_EQ(caption("a3rdParty"), "A&dd 3rd Party App");
    EXPECT_EQ(caption("aResetPos"), "Re&set Position");
    EXPECT_EQ(caption("aPortNumber"), "&Network Config ");
    EXPECT_EQ(caption("aSendToMonitor"), "&Send To ...");

    QMenu* menu = window->applicationMenu();
    EXPECT_EQ(r->applicationButton()->text(), "Shortcuts");
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_EQ(menu->actions()[0]->text(), "&Help");
    EXPECT_EQ(menu->actions()[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
    QStringList entries;
    for (auto* a : menu->actions()[0]->menu()->actions())
        entries << a->text();
    EXPECT_EQ(entries, QStringList({"Brondix &Website", "&User Manual", "Show &Log"}));
    EXPECT_EQ(menu->actions()[2]->text(), "E&xit");
}

TEST_F(MainWindow, ListStatusBarAndTitle)
{
    seams.existingPanels = {"Cockpit"};
    TestPlatform::writeBytes(t.settingsFile(), "[Config]\r\nLastPanelUsed=Cockpit\r\n");
    open();
    EXPECT_EQ(window->windowTitle(), "Varnolt DCS");
    EXPECT_EQ(window->ribbon()->title(), "Cockpit - Varnolt Professional");
    EXPECT_EQ(window->width(), 500);
    EXPECT_EQ(window->minimumHeight(), 520);

    QTreeView* list = window->instrumentList();
    QStringList headers;
    QList<int> widths;
    for (int c = 0; c < list->model()->columnCount(); ++c) {
        headers << list->model()->headerData(c, Qt::Horizontal).toString();
        widths << list->columnWidth(c);
    }
    EXPECT_EQ(headers,
              QStringList({"On|Instrument", "Port No", "Path Name", "IP Address", "Port No", "Size", "InstNo"}));
    // The designed widths, widened where the caption would not fit.
    const int designed[] = {400, 85, 300, 50, 50, 50, 50};
    for (int c = 0; c < int(std::size(designed)); ++c) {
        EXPECT_GE(widths[c], designed[c]) << c;
        EXPECT_GE(widths[c], list->header()->sectionSizeHint(c)) << headers[c].toStdString() << " is cut";
        if (list->header()->sectionSizeHint(c) <= designed[c]) {
            EXPECT_EQ(widths[c], designed[c]) << c;
        }
    }
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);

    auto* version = window->findChild<QLabel*>("sbPanel2");
    EXPECT_EQ(version->text(), "V2.15.1");
    EXPECT_FALSE(window->findChild<QWidget*>("pBanner")->isVisible()) << "no BannerImage.jpg";
}

TEST_F(MainWindow, EnablingFollowsLoadedAndRunningState)
{
    window = std::make_unique<TfrmMain>(controller); // the real subsystems: the window follows Start and Stop
    window->show();
    controller.startUp();
    EXPECT_FALSE(window->action("aStartPanel")->isEnabled()) << "no panel loaded";
    EXPECT_FALSE(window->action("aStopPanel")->isEnabled());
    EXPECT_FALSE(window->action("aSendToMonitor")->isEnabled()) << "one monitor";
    EXPECT_EQ(window->ribbon()->title(), "Varnolt Professional");
    // Rows added now would belong to no panel.
    EXPECT_FALSE(window->action("aAddInstrument")->isEnabled());
    EXPECT_FALSE(window->action("a3rdParty")->isEnabled());

    Session& s = controller.session();
    TestPlatform::writeBytes(t.panelFolder("Cockpit") + "/Cockpit.cfg", "");
    loadPanel(s.loaded(), "Cockpit");
    s.loaded().record().ShowBackground = false;
    EXPECT_TRUE(window->action("aStartPanel")->isEnabled());
    EXPECT_TRUE(window->action("aAddInstrument")->isEnabled());
    EXPECT_TRUE(window->action("a3rdParty")->isEnabled());

    window->action("aStartPanel")->trigger();
    EXPECT_FALSE(window->action("aStartPanel")->isEnabled());
    EXPECT_TRUE(window->action("aStopPanel")->isEnabled());
    EXPECT_TRUE(window->group("rgControl")->isEnabled());
    for (const char* g : {"rgLoading", "rgProgram", "rgPanels", "rgInstruments", "rgExchange", "rgNetwork", "rgHelp"})
        EXPECT_FALSE(window->group(g)->isEnabled()) << g;
    EXPECT_TRUE(window->instrumentList()->isEnabled());

    window->action("aStopPanel")->trigger();
    EXPECT_TRUE(window->action("aStartPanel")->isEnabled());
    EXPECT_FALSE(window->action("aStopPanel")->isEnabled());
    EXPECT_TRUE(window->group("rgInstruments")->isEnabled());

    // Unloading the panel disables Start.
    s.loaded().forget();
    EXPECT_FALSE(window->action("aStartPanel")->isEnabled());
}

TEST_F(MainWindow, StartMinimisesAndRestoringTheWindowStops)
{
    window = std::make_unique<TfrmMain>(controller); // the real subsystems behind it
    window->show();
    controller.startUp();
    Session& s = controller.session();
    TestPlatform::writeBytes(t.panelFolder("Cockpit") + "/Cockpit.cfg", "");
    loadPanel(s.loaded(), "Cockpit");
    s.loaded().record().ShowBackground = false;

    window->action("aStartPanel")->trigger();
    EXPECT_TRUE(prompter.messages.empty()) << qPrintable(prompter.messageTexts().join('\n'));
    EXPECT_TRUE(window->isMinimized());
    EXPECT_TRUE(window->action("aStopPanel")->isEnabled());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "hourglass left on";

    window->showNormal();
    EXPECT_FALSE(window->action("aStopPanel")->isEnabled());
    EXPECT_TRUE(window->action("aStartPanel")->isEnabled());
    EXPECT_EQ(t.power.calls.last(), "sleep allowed");
}

TEST_F(MainWindow, UnreadableBannerIsHiddenAndStartUpGoesOn)
{
    TestPlatform::writeBytes(t.env.currentDir + "/BannerImage.jpg", "not a picture");
    open();
    EXPECT_FALSE(window->findChild<QWidget*>("pBanner")->isVisible());
    EXPECT_TRUE(seams.calls.contains("StartControlListener"));
}

TEST_F(MainWindow, ExitRunsTheCloseSequence)
{
    open();
    seams.calls.clear();
    window->action("FileExit1")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(seams.calls.contains("StopControlListener"));
}

// The layout view is a window of its own: left open, it would stay on screen over a program that has saved
// and stopped, and keep the process running.
TEST_F(MainWindow, ClosingTheWindowClosesTheLayoutViewToo)
{
    open();
    window->action("aLayout")->trigger();
    ASSERT_TRUE(window->layoutWindow()->isVisible());
    window->close();
    EXPECT_FALSE(window->layoutWindow()->isVisible());
    for (const QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible()) << w->windowTitle().toStdString();
}

// In the font it is laid out for, and in one that runs wider (a stand-in where Windows has no Tahoma):
// no caption cut, and the designed width where the font is the designed one.
TEST_F(MainWindow, EveryTabFitsItsWindow)
{
    open();
    Ribbon* r = window->ribbon();
    const QFont designed = window->font();
    QFont wider = designed;
    wider.setPointSize(designed.pointSize() * 3 / 2);
    for (const QFont& font : {designed, wider}) {
        window->setFont(font);
        QApplication::processEvents();
        const std::string at = std::to_string(font.pointSize()) + " pt " + font.family().toStdString();
        if (font == wider) {
            EXPECT_GT(window->width(), 500) << at;
        } else if (font.family() == "Tahoma") {
            EXPECT_EQ(window->width(), 500) << at;
        }
        for (int tab = 0; tab < r->tabCount(); ++tab) {
            r->setCurrentTab(tab);
            QApplication::processEvents();
            int needed = 0;
            for (auto* g : r->groups(tab)) {
                needed += g->sizeHint().width();
                if (font == wider) {
                    EXPECT_GE(g->width(), g->sizeHint().width()) << g->caption().toStdString() << " at " << at;
                }
            }
            EXPECT_LE(needed, window->width()) << r->tabText(tab).toStdString() << " at " << at;
            if (qEnvironmentVariableIsSet("VARNOLT_SHOTS"))
                window->grab().save(QStringLiteral("%1/tab%2-%3pt.png")
                                        .arg(qEnvironmentVariable("VARNOLT_SHOTS"))
                                        .arg(tab)
                                        .arg(font.pointSize()));
        }
    }
}

TEST_F(MainWindow, RowsKeepTheirHeightWhenScrolledSideways)
{
    open();
    QTreeView* list = window->instrumentList();
    InstrumentListModel& rows = controller.session().loaded().instruments();
    const std::vector<InstrumentRow> panel{{"ALT", true, {"1", "x\\P@Alt.exe", "", "", "1", "1"}},
                                           {"ASI", false, {"2", "x\\P@Asi.exe", "", "", "1", "2"}}};
    rows.setRows(panel);
    QCoreApplication::processEvents();
    const int height = list->visualRect(rows.index(0, 0)).height();
    ASSERT_GT(height, 0);

    // Another panel is loaded while the name column, the one with the check boxes, is scrolled out of view.
    list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum());
    QCoreApplication::processEvents();
    rows.setRows(panel);
    QCoreApplication::processEvents();
    list->horizontalScrollBar()->setValue(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(list->visualRect(rows.index(0, 0)).height(), height);
    EXPECT_EQ(list->visualRect(rows.index(1, 6)).height(), height);
}

TEST_F(MainWindow, ALongAircraftNameIsElidedAndThePanelNameStaysInView)
{
    open();
    const QString full = "Cockpit (" + QString(20, u'W') + " with the longest aircraft name ever flown)";
    controller.session().loaded().setDocumentName(full);
    auto* title = window->ribbon()->findChild<QLabel*>("ribbonTitle");
    EXPECT_EQ(window->ribbon()->title(), full + " - Varnolt Professional");
    EXPECT_EQ(window->width(), 500) << "the title never widens the window";
    EXPECT_TRUE(title->text().startsWith("Cockpit (WWW")) << qPrintable(title->text());
    EXPECT_TRUE(title->text().endsWith(QChar(0x2026))) << qPrintable(title->text());
    EXPECT_LE(title->fontMetrics().horizontalAdvance(title->text()), title->contentsRect().width());
    EXPECT_EQ(title->toolTip(), window->ribbon()->title());

    controller.session().loaded().setDocumentName("Cockpit");
    EXPECT_EQ(title->text(), "Cockpit - Varnolt Professional");
}

TEST_F(MainWindow, CtrlAOpensTheSubMenuTheApplicationMenuShowsItFor)
{
    open();
    QApplication::setActiveWindow(window.get());
    QMenu* shortcuts = window->applicationMenu()->actions()[0]->menu();
    ASSERT_FALSE(shortcuts->isVisible());
    QTest::keyClick(window.get(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shortcuts->isVisible(); }, 2000));
    shortcuts->close();
}

TEST_F(MainWindow, APortInUseIsSaidInTheStatusLine)
{
    QUdpSocket other;
    ASSERT_TRUE(other.bind(QHostAddress::AnyIPv4, 0, QAbstractSocket::DontShareAddress));
    const QString port = QString::number(other.localPort());
    TestPlatform::writeBytes(t.settingsFile(), "[Config]\r\nListenPort=" + port.toLatin1() + "\r\n");
    window = std::make_unique<TfrmMain>(controller); // the real listener
    window->show();
    controller.startUp();

    EXPECT_EQ(window->statusLine()->text(),
              QStringLiteral("Control port %1 is in use by another program (is Varnolt already running?): control "
                             "records are not received.")
                  .arg(port));
    EXPECT_TRUE(window->statusLine()->property("problem").toBool());
    EXPECT_TRUE(window->statusPanel(0)->text().startsWith("Not listening"))
        << window->statusPanel(0)->text().toStdString();
    EXPECT_EQ(window->statusPanel(1)->text(), "No panel loaded");
    EXPECT_EQ(window->width(), 500) << "the status line keeps the window's width";
}
