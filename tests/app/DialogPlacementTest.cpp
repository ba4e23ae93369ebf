#include "app/MainController.h"
#include "app/ProgramViews.h"
#include "app/QtPrompter.h"
#include "app/TfrmMain.h"
#include "net/TfrmSetPort.h"
#include "support/GuiScript.h"
#include "support/TestPlatform.h"

#include <QAction>
#include <QDialog>
#include <QFontMetrics>
#include <QStyle>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The title as a window manager draws it (bold, 10 points at least), beside an icon and three buttons.
int titleRoom(const QWidget& w)
{
    QFont bold = w.font();
    bold.setBold(true);
    bold.setPointSizeF(std::max<qreal>(bold.pointSizeF(), 10));
    return QFontMetrics(bold).horizontalAdvance(w.windowTitle()) +
           4 * w.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &w);
}

} // namespace

// Without a window manager nothing else places a dialog: it must open over the main window, not at the
// screen's corner, and be wide enough that its title is not cut.
TEST(DialogPlacement, DialogsOpenOverTheMainWindowWithRoomForTheirTitle)
{
    TestPlatform tp;
    QtPrompter prompter{programViews()};
    MainController controller(tp.platform(), prompter, {});
    TfrmMain window(controller);
    prompter.setOwner(&window);
    window.show();
    controller.startUp();
    const QPoint centre = window.frameGeometry().center();

    bool seen = false;
    whenOpen<TfrmSetPort>([&](TfrmSetPort* d) {
        EXPECT_LE((d->frameGeometry().center() - centre).manhattanLength(), 4) << "at " << d->x() << "," << d->y();
        EXPECT_GE(d->width(), titleRoom(*d)) << d->windowTitle().toStdString();
        seen = true;
        d->reject();
    });
    window.action("aPortNumber")->trigger();
    EXPECT_TRUE(seen);

    seen = false;
    whenModal([&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Enter new Panel Name");
        EXPECT_GE(d->width(), titleRoom(*d));
        seen = true;
        static_cast<QDialog*>(d)->reject();
    });
    prompter.inputBox("Enter new Panel Name", "Panel Name", {});
    EXPECT_TRUE(seen);
}
