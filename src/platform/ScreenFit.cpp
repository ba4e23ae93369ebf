#include "ScreenFit.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace {

const QScreen* screenOf(const QWidget& window)
{
    if (const QWidget* parent = window.parentWidget(); parent && !window.isVisible())
        return parent->screen();
    return window.screen() ? window.screen() : QGuiApplication::primaryScreen();
}

// What the window manager adds around a window, before the window is shown and its frame is known.
constexpr int kBorder = 4;
constexpr qreal kTitlePoints = 10;

int titleBarHeight(const QWidget& window)
{
    return window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
}

QRect freeArea(const QScreen& screen, const QWidget& window)
{
    return screen.availableGeometry().adjusted(kBorder, titleBarHeight(window) + kBorder, -kBorder, -kBorder);
}

} // namespace

QSize roomOnScreen(const QWidget& window)
{
    const QScreen* screen = screenOf(window);
    return screen ? freeArea(*screen, window).size() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void fitOnScreen(QWidget& window)
{
    const QScreen* screen = screenOf(window);
    if (!screen)
        return;
    const QRect free = freeArea(*screen, window);
    window.setMinimumSize(window.minimumSize().boundedTo(free.size()));
    if (window.width() > free.width() || window.height() > free.height())
        window.resize(window.size().boundedTo(free.size()));

    QPoint at = window.pos();
    at.setX(std::clamp(at.x(), free.left(), std::max(free.left(), free.right() + 1 - window.width())));
    at.setY(std::clamp(at.y(), free.top(), std::max(free.top(), free.bottom() + 1 - window.height())));
    window.move(at);
}

void makeRoomForTitle(QWidget& window)
{
    // Title bars draw their caption in bold, in the desktop's title font, which window managers keep at least
    // at 10 points whatever small font the window uses; the icon and three buttons take about a bar's height each.
    QFont bold = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    bold.setBold(true);
    if (bold.pointSizeF() < kTitlePoints)
        bold.setPointSizeF(kTitlePoints);
    const int needed = QFontMetrics(bold).horizontalAdvance(window.windowTitle()) + 5 * titleBarHeight(window);
    if (window.width() >= needed)
        return;
    if (window.maximumWidth() < needed)
        window.setMaximumWidth(needed);
    window.setMinimumWidth(std::max(window.minimumWidth(), needed));
    window.resize(needed, window.height());
}

void centreOverParent(QWidget& window)
{
    makeRoomForTitle(window);
    QRect over;
    if (const QWidget* parent = window.parentWidget(); parent && parent->isVisible() && !parent->isMinimized())
        over = parent->window()->frameGeometry();
    else if (const QScreen* screen = screenOf(window))
        over = screen->availableGeometry();
    if (over.isValid())
        window.move(over.center() - QPoint(window.width() / 2, window.height() / 2));
    fitOnScreen(window);
}
