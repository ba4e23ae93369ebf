#pragma once

#include "Monitors.h"

// The monitors as Qt's screens report them, in device pixels.
class ScreenMonitors : public Monitors
{
public:
    ScreenMonitors();

    int count() const override;
    QRect bounds(int index) const override;
    QSize virtualDesktopSize() const override;
};
