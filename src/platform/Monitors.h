#pragma once

#include <QRect>
#include <QSize>

// The PC's monitors in the platform's order, with bounds in virtual-desktop device pixels (never scaled).
class Monitors
{
public:
    virtual ~Monitors() = default;
    virtual int count() const = 0;
    virtual QRect bounds(int index) const = 0;
    virtual QSize virtualDesktopSize() const = 0;
};
