#include "MonitorCheck.h"

#include <algorithm>

LayoutCheckResult CheckMonitorLayout(const MonitorLayout& startupLayout, const MonitorLayout& panelLayout)
{
    if (startupLayout.ScreenCount != panelLayout.ScreenCount)
        return LayoutCountDiffers;
    const int measured = std::clamp(startupLayout.ScreenCount, 0, MonitorLayout::MeasuredScreens);
    for (int i = 0; i < measured; ++i) {
        if (startupLayout.ScreenWidth[i] != panelLayout.ScreenWidth[i] ||
            startupLayout.ScreenHeight[i] != panelLayout.ScreenHeight[i])
            return LayoutDimensionDiffers;
    }
    return LayoutSame;
}
