#include "ScreenMonitors.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

// Panel files hold device pixels, whatever the scale factor: a panel saved at one scale must start alike at
// another. Qt scales a screen's size only; its top-left corner stays in device pixels.
QRect devicePixels(const QScreen& screen)
{
    const QRect logical = screen.geometry();
    const qreal ratio = screen.devicePixelRatio();
    return {logical.topLeft(), QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio))};
}

void watch(ScreenMonitors* monitors, QScreen* screen)
{
    QObject::connect(screen, &QScreen::geometryChanged, monitors, &Monitors::changed);
}

} // namespace

ScreenMonitors::ScreenMonitors()
{
    // Without an application there are no screens to watch (tools that only read files).
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    for (QScreen* screen : QGuiApplication::screens())
        watch(this, screen);
    connect(app, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watch(this, screen);
        emit changed();
    });
    // Qt has taken the screen out of its list by the time this arrives.
    connect(app, &QGuiApplication::screenRemoved, this, &Monitors::changed);
}

int ScreenMonitors::count() const
{
    return int(QGuiApplication::screens().size());
}

QRect ScreenMonitors::bounds(int index) const
{
    const auto screens = QGuiApplication::screens();
    if (index < 0 || index >= screens.size())
        return {};
    return devicePixels(*screens.at(index));
}

QSize ScreenMonitors::virtualDesktopSize() const
{
    // The rectangle that holds every monitor, measured in device pixels like the monitors themselves.
    QRect desktop;
    for (const QScreen* screen : QGuiApplication::screens())
        desktop |= devicePixels(*screen);
    return desktop.size();
}
