#include "DevicePixels.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace {

QPoint scaled(QPoint p, double factor)
{
    return QPoint(int(std::lround(p.x() * factor)), int(std::lround(p.y() * factor)));
}

} // namespace

QPoint logicalFromDevice(const QScreen* screen, QPoint devicePoint)
{
    const QPoint origin = screen->geometry().topLeft();
    return origin + scaled(devicePoint - origin, 1.0 / screen->devicePixelRatio());
}

QPoint deviceFromLogical(const QScreen* screen, QPoint logicalPoint)
{
    const QPoint origin = screen->geometry().topLeft();
    return origin + scaled(logicalPoint - origin, screen->devicePixelRatio());
}

int logicalLength(const QScreen* screen, int deviceLength)
{
    return std::max(1, int(std::lround(deviceLength / screen->devicePixelRatio())));
}

QScreen* screenAtDevicePoint(QPoint devicePoint)
{
    for (QScreen* s : QGuiApplication::screens()) {
        const QRect g = s->geometry();
        const QRect device(g.topLeft(), g.size() * s->devicePixelRatio());
        if (device.contains(devicePoint))
            return s;
    }
    return QGuiApplication::primaryScreen();
}

QRect logicalFromDevice(QRect deviceRect)
{
    const QScreen* s = screenAtDevicePoint(deviceRect.topLeft());
    return QRect(logicalFromDevice(s, deviceRect.topLeft()),
                 QSize(logicalLength(s, deviceRect.width()), logicalLength(s, deviceRect.height())));
}
