#pragma once

#include "panels/MonitorLayout.h"

enum LayoutCheckResult
{
    LayoutSame = 0,
    LayoutCountDiffers = 1,
    LayoutDimensionDiffers = 2
};

// Compares the PC's monitors seen at start-up with a panel's: counts first, then the sizes of at most the
// first four monitors by index. Positions do not matter.
LayoutCheckResult CheckMonitorLayout(const MonitorLayout& startupLayout, const MonitorLayout& panelLayout);
