#include "app/MainController.h"
#include "app/ProgramViews.h"
#include "app/QtPrompter.h"
#include "app/TfrmMain.h"
#include "exchange/SendToMonitor.h"
#include "instruments/Add3rdPartyModel.h"
#include "instruments/AddInstrumentModel.h"
#include "layout/LayoutWindow.h"
#include "net/AdapterChooser.h"
#include "net/NetworkConfigModel.h"
#include "panels/PanelChooser.h"
#include "panels/PanelSetupModel.h"
#include "platform/ScreenMonitors.h"
#include "support/GuiScript.h"
#include "support/RecordingSeams.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QStyle>

#include <gtest/gtest.h>

#include <functional>

// These tests run twice: at scale 1 and with QT_SCALE_FACTOR=2, where the same 1920x1080 monitor is 960x540
// logical pixels.

TEST(MultiScreen, MonitorsAreMeasuredInDevicePixelsAtEveryScale)
{
    const qreal scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    ASSERT_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), scale) << "the scale factor is in effect";

    ScreenMonitors screens;
    ASSERT_EQ(screens.count(), 2);
    EXPECT_EQ(screens.bounds(0), QRect(0, 0, 1920, 1080));
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
    controller.startUp();
    EXPECT_TRUE(window.action("aSendToMonitor")->isEnabled());
    const MonitorLayout& layout = controller.session().StartupLayout;
    EXPECT_EQ(layout.ScreenCount, 2);
    EXPECT_EQ(QSize(layout.ScreenWidth[0], layout.ScreenHeight[0]), QSize(1920, 1080));
    EXPECT_EQ(QSize(layout.ScreenWidth[1], layout.ScreenHeight[1]), QSize(1280, 1024));
}

namespace {

// The window must lie inside the screen's free area, with room above it for a title bar.
void expectOnScreen(const QWidget* w, const char* what)
{
    const QRect free = w->screen()->availableGeometry();
    const int titleBar = w->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, w);
    const QRect window = w->frameGeometry().adjusted(0, -titleBar, 0, 0);
    EXPECT_TRUE(free.contains(window)) << what << ": window " << window.x() << "," << window.y() << " "
                                       << window.width() << "x" << window.height() << " on a screen of " << free.width()
                                       << "x" << free.height();
}

// Opens a modal prompt, checks the window it shows, then closes that window.
void checkShown(const char* what, const std::function<void()>& open)
{
    bool seen = false;
    const ScopedModal check([&](QWidget* w) {
        seen = true;
        expectOnScreen(w, what);
        if (qEnvironmentVariableIsSet("VARNOLT_SHOTS"))
            w->grab().save(QStringLiteral("%1/%2-%3.png")
                               .arg(qEnvironmentVariable("VARNOLT_SHOTS"), QString::fromLatin1(what))
                               .arg(w->devicePixelRatio()));
        w->close();
    });
    open();
    EXPECT_TRUE(seen) << what;
}

} // namespace

TEST(MultiScreen, EveryDialogFitsTheScreen)
{
    TestPlatform t;
    Platform platform = t.platform();
    ScreenMonitors screens;
    platform.monitors = &screens;
    ScriptedPrompter scripted;
    RecordingSeams seams;
    MainController controller(platform, scripted, {});
    controller.setSeams(seams);
    TfrmMain window(controller);
    window.show();
    controller.startUp();
    expectOnScreen(&window, "main window");

    QtPrompter prompter(programViews(), &window);
    PanelSetupModel setup(screens, prompter);
    checkShown("panel setup", [&] { prompter.execDialog(setup); });
    AddInstrumentModel add(InstrumentCatalogue(*platform.files, *platform.ini, *platform.locale, t.root() + "/bin\\"));
    add.FormCreate();
    checkShown("add instrument", [&] { prompter.execDialog(add); });
    add.caption = AddInstrumentModel::EditCaption;
    checkShown("edit instrument", [&] { prompter.execDialog(add); });
    Add3rdPartyModel app(prompter);
    checkShown("3rd party", [&] { prompter.execDialog(app); });
    NetworkConfigModel network;
    checkShown("network config", [&] { prompter.execDialog(network); });
    PanelChooserModel panels;
    panels.panels = QStringList(40, QStringLiteral("A panel with a long name"));
    checkShown("panel chooser", [&] { prompter.execDialog(panels); });
    MonitorChooserModel monitor;
    monitor.monitors = QStringList{"1", "2"};
    checkShown("monitor chooser", [&] { prompter.execDialog(monitor); });
    const QString longPath = t.root() + QStringLiteral("/appdata/Brondix/HarvolmPRO/Panel_") + QString(90, u'X') +
                             QStringLiteral("/") + QString(90, u'X') + QStringLiteral(".ini");
    checkShown("message with a long path", [&] { prompter.showError("Unable to write to " + longPath); });

    // The layout view is a window of its own: it opens on the main window's monitor, the smaller one here.
    const QRect right = QGuiApplication::screens().at(1)->availableGeometry();
    window.move(right.topLeft() + QPoint(20, 40));
    window.action("aLayout")->trigger();
    const QWidget* layout = window.layoutWindow();
    EXPECT_EQ(layout->screen(), window.screen());
    expectOnScreen(layout, "layout");
}
