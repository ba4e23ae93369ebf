#include "run/MonitorCheck.h"
#include "support/TestPlatform.h"

#include <gtest/gtest.h>

namespace {

MonitorLayout layout(int count, std::initializer_list<QSize> sizes)
{
    MonitorLayout l;
    l.ScreenCount = count;
    int i = 0;
    for (const QSize& s : sizes) {
        l.ScreenWidth[i] = s.width();
        l.ScreenHeight[i] = s.height();
        ++i;
    }
    return l;
}

MonitorLayout captured(std::vector<QRect> screens)
{
    FakeMonitors monitors;
    monitors.screens = std::move(screens);
    return MonitorLayout::capture(monitors);
}

const QSize fullHd(1920, 1080);
const QSize sxga(1280, 1024);

} // namespace

TEST(CheckMonitorLayout, ComparesCountsThenTheFirstFourSizesByIndex)
{
    const struct
    {
        const char* name;
        MonitorLayout pc, panel;
        LayoutCheckResult expected;
    } cases[] = {
        {"two on the PC, one in the panel", layout(2, {fullHd, sxga}), layout(1, {fullHd}), LayoutCountDiffers},
        {"six against five, sizes alike", layout(6, {fullHd, fullHd, fullHd, fullHd}),
         layout(5, {fullHd, fullHd, fullHd, fullHd}), LayoutCountDiffers},
        {"same sizes swapped", layout(2, {fullHd, sxga}), layout(2, {sxga, fullHd}), LayoutDimensionDiffers},
        {"same sizes, other positions", captured({QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)}),
         captured({QRect(0, -1080, 1920, 1080), QRect(-1280, 300, 1280, 1024)}), LayoutSame},
        {"panel file without monitor keys", layout(1, {fullHd}), layout(1, {}), LayoutDimensionDiffers},
        {"only the height differs", layout(1, {fullHd}), layout(1, {QSize(1920, 1200)}), LayoutDimensionDiffers},
        {"six alike in the first four", layout(6, {fullHd, sxga, fullHd, sxga}),
         layout(6, {fullHd, sxga, fullHd, sxga}), LayoutSame},
        {"fourth monitor differs", layout(4, {fullHd, fullHd, fullHd, fullHd}),
         layout(4, {fullHd, fullHd, fullHd, sxga}), LayoutDimensionDiffers},
        // Sizes beyond the count are leftovers, not monitors.
        {"sizes past the count", layout(1, {fullHd, sxga}), layout(1, {fullHd, fullHd}), LayoutSame},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckMonitorLayout(c.pc, c.panel), c.expected) << c.name;
}
