#include "ScreenMonitors.h"

#include <QGuiApplication>
#include <QScreen>

int ScreenMonitors::count() const
{
    return int(QGuiApplication::screens().size());
}

QRect ScreenMonitors::bounds(int index) const
{
    const auto screens = QGuiApplication::screens();
    if (index < 0 || index >= screens.size())
        return {};
    return screens.at(index)->geometry();
}

QSize ScreenMonitors::virtualDesktopSize() const
{
    const auto* primary = QGuiApplication::primaryScreen();
    return primary ? primary->virtualGeometry().size() : QSize();
}
