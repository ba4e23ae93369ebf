#include "MonitorLayout.h"

#include "platform/Monitors.h"

MonitorLayout MonitorLayout::capture(const Monitors& monitors)
{
    MonitorLayout layout;
    layout.ScreenCount = monitors.count();
    for (int i = 0; i < layout.ScreenCount && i < MeasuredScreens; ++i) {
        const QRect r = monitors.bounds(i);
        layout.ScreenWidth[i] = r.width();
        layout.ScreenHeight[i] = r.height();
    }
    return layout;
}
