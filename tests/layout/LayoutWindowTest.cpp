#include "layout/LayoutWindow.h"
#include "LayoutFixture.h"
#include "layout/LayoutView.h"
#include "platform/ScreenMonitors.h"
#include "support/Wait.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

// These run at scale 1 and 2 on two offscreen monitors (1920x1080 and 1280x1024 to its right): what is written
// is device pixels either way.

namespace {

struct RealScreens
{
    ScreenMonitors screens;
};

// The panel on Qt's screens, as the program sees them.
struct ShownLayout : RealScreens, LayoutFixture
{
    std::unique_ptr<LayoutWindow> window;

    ShownLayout() : LayoutFixture(&screens)
    {
        write("Cockpit.ini", settingsFile(2, {{1920, 1080}, {1280, 1024}}));
        write("Airspeed1.ini", gaugeFile(0, 100, 50));
        write("Altimeter1.ini", gaugeFile(1, 300, 200));
    }

    void show()
    {
        open();
        window = std::make_unique<LayoutWindow>(*layout, s.loaded().instruments());
        window->show();
        window->resize(900, 500);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    LayoutView* view() const { return window->view(); }
    // VARNOLT_SHOTS=<folder> keeps a picture of the window, as the other window tests do.
    void shot(const char* name) const
    {
        if (qEnvironmentVariableIsSet("VARNOLT_SHOTS"))
            window->grab().save(QStringLiteral("%1/layout-%2-%3.png")
                                    .arg(qEnvironmentVariable("VARNOLT_SHOTS"), QString::fromLatin1(name))
                                    .arg(window->devicePixelRatio()));
    }
    QPoint centreOf(int windowIndex) const { return view()->windowRect(windowIndex).center().toPoint(); }
    InstrumentListModel& rows() { return s.loaded().instruments(); }
};

} // namespace

TEST(LayoutWindow, ArrowKeysWriteExactlyThePlaceKeysInDevicePixels)
{
    ShownLayout f;
    f.show();
    const auto before = f.files();
    f.rows().select(0); // Airspeed
    f.shot("view");
    f.view()->setFocus();
    QTest::keyClick(f.view(), Qt::Key_Right);
    QTest::keyClick(f.view(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(f.read("Airspeed1.ini"), gaugeFile(0, 101, 60));
    EXPECT_EQ(f.rows().selectedIndex(), 0) << "the moved window stays selected";

    f.window->tool("aLayoutUndo")->trigger();
    f.window->tool("aLayoutUndo")->trigger();
    EXPECT_EQ(f.files(), before);
    f.window->tool("aLayoutRedo")->trigger();
    EXPECT_EQ(f.read("Airspeed1.ini"), gaugeFile(0, 101, 50));
}

TEST(LayoutWindow, SelectionFollowsTheListBothWaysAndADragMovesTheWindow)
{
    ShownLayout f;
    f.show();
    QTest::mouseClick(f.view(), Qt::LeftButton, {}, f.centreOf(1));
    EXPECT_EQ(f.rows().selectedIndex(), 1) << "clicking Altimeter's rectangle selects its row";

    // Dragged to the left by 1000 device pixels, snapping off: from monitor 2 onto monitor 1.
    f.window->tool("aLayoutSnap")->setChecked(false);
    const QPoint from = f.centreOf(1);
    const QPointF to = f.view()->toWidget(QPoint(1920 + 300 - 1000, 200)) - f.view()->toWidget(QPoint(1920 + 300, 200));
    QTest::mousePress(f.view(), Qt::LeftButton, {}, from);
    QTest::mouseMove(f.view(), from + to.toPoint());
    QTest::mouseRelease(f.view(), Qt::LeftButton, {}, from + to.toPoint());
    const WindowPlace place = f.layout->layout().windows[1].place;
    EXPECT_EQ(place.monitor, 0);
    // The mouse moves in whole widget pixels, a few device pixels each at this size.
    EXPECT_NEAR(place.offset.x(), 1920 + 300 - 1000, 8);
    EXPECT_EQ(f.rows().selectedIndex(), 1);
}

TEST(LayoutWindow, ReadOnlyWhileRunningAndFollowsTheChildsRewrites)
{
    ShownLayout f;
    f.show();
    f.running = true;
    f.layout->setRunning(true);
    EXPECT_TRUE(f.window->findChild<QLabel*>("layoutHeader")->text().contains("The panel is running"));
    EXPECT_FALSE(f.window->tool("aFitToMonitors")->isEnabled());
    f.rows().select(0);
    QTest::keyClick(f.view(), Qt::Key_Right);
    EXPECT_EQ(f.read("Airspeed1.ini"), gaugeFile(0, 100, 50)) << "nothing written while the panel runs";

    // The running gauge saves a new place, through a temporary file and a rename as ours do.
    QSaveFile child(f.folder() + "/Airspeed1.ini");
    ASSERT_TRUE(child.open(QIODevice::WriteOnly));
    child.write(gaugeFile(1, 40, 30));
    ASSERT_TRUE(child.commit());
    EXPECT_TRUE(waitFor([&] { return f.layout->layout().windows[0].place == WindowPlace{1, {40, 30}}; }));
}

TEST(LayoutWindow, FitAddsTheSecondMonitorInDevicePixels)
{
    ShownLayout f;
    f.write("Cockpit.ini", settingsFile(1, {{1920, 1080}}));
    f.write("Altimeter1.ini", gaugeFile(0, 300, 200));
    f.show();
    f.window->tool("aFitToMonitors")->trigger();
    auto* apply = f.window->findChild<QPushButton*>("btnApplyFit");
    ASSERT_TRUE(apply->isVisible()) << "the repair is shown before it is applied";
    f.shot("fit-preview");
    apply->click();
    EXPECT_EQ(f.read("Cockpit.ini"), settingsFile(2, {{1920, 1080}, {1280, 1024}}));
    f.window->tool("aLayoutUndo")->trigger();
    EXPECT_EQ(f.read("Cockpit.ini"), settingsFile(1, {{1920, 1080}}));
}

TEST(LayoutWindow, IdentifyShowsEachMonitorsNumberOnItForThreeSeconds)
{
    ShownLayout f;
    f.show();
    f.window->tool("aIdentifyMonitors")->trigger();
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (int i = 0; i < screens.size(); ++i) {
        QLabel* label = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("identifyMonitor%1").arg(i + 1) && w->isVisible())
                label = qobject_cast<QLabel*>(w);
        ASSERT_TRUE(label) << "monitor " << i + 1;
        EXPECT_EQ(label->text(), QString::number(i + 1));
        EXPECT_TRUE(screens[i]->geometry().contains(label->geometry()));
    }
    EXPECT_TRUE(waitFor(
        [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName().startsWith("identifyMonitor") && w->isVisible())
                    return false;
            return true;
        },
        5000));
}
