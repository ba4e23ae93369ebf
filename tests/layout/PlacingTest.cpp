#include "layout/Placing.h"
#include "LayoutFixture.h"
#include "layout/LayoutHistory.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

TEST(Placing, WritesOnlyThePlaceKeysInOneReplaceKeepingTheChildsOtherLines)
{
    TestPlatform t;
    const QString native = t.root() + "/Airspeed1.ini";
    const QString stored = t.root() + "\\Airspeed1.ini";
    // As a child left it: its own letter case and its own keys.
    TestPlatform::writeBytes(native, "[position]\r\nmonitor=0\r\nX=1\r\nY=2\r\nIsLocked=True\r\n"
                                     "[Size]\r\nScaleSize=1.5\r\nWidth=300\r\nHeight=300\r\n; kept\r\n");
    writePlace(t.ini, stored, {1, {40, -20}});
    EXPECT_EQ(TestPlatform::readBytes(native), "[position]\r\nmonitor=1\r\nX=40\r\nY=-20\r\nIsLocked=True\r\n"
                                               "[Size]\r\nScaleSize=1.5\r\nWidth=300\r\nHeight=300\r\n; kept\r\n");

    const QString fresh = t.root() + "\\Altimeter1.ini";
    writePlace(t.ini, fresh, {0, {7, 8}});
    EXPECT_EQ(TestPlatform::readBytes(t.root() + "/Altimeter1.ini"), "[Position]\r\nMonitor=0\r\nX=7\r\nY=8\r\n");
}

TEST(Placing, SnapsEachAxisToTheNearestEdgeWithinReach)
{
    const std::vector<QRect> targets{QRect(0, 0, 1920, 1080), QRect(500, 300, 200, 200)};
    const struct
    {
        QRect moving;
        QPoint expected;
        const char* why;
    } cases[] = {
        {QRect(5, 6, 100, 100), {0, 0}, "both edges near the monitor's corner"},
        {QRect(1815, 500, 100, 100), {1820, 500}, "right edge onto the monitor's right edge"},
        {QRect(703, 290, 100, 100), {700, 290}, "left edge onto a neighbour's right edge; y out of reach"},
        {QRect(300, 200, 100, 100), {300, 200}, "nothing within reach"},
        {QRect(396, 396, 100, 100), {400, 400}, "right and bottom edges onto a neighbour's left and top"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(snapped(c.moving, targets, 8), c.expected) << c.why;
}

TEST(Placing, MovingAWindowWritesItsMonitorAndOffsetAndUndoes)
{
    LayoutFixture f;
    f.t.monitors.screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    f.write("Cockpit.ini", settingsFile(2, {{1920, 1080}, {1280, 1024}}));
    f.write("Airspeed1.ini", gaugeFile(0, 100, 50));
    f.open();
    ASSERT_EQ(f.layout->layout().windows.size(), 1u) << "Altimeter and RPM have no place yet";
    EXPECT_EQ(f.layout->layout().unplaced, 2);
    const auto before = f.files();

    f.layout->moveWindow(0, QPoint(2000, 10)); // onto the second monitor
    EXPECT_EQ(f.read("Airspeed1.ini"), gaugeFile(1, 80, 10));
    EXPECT_EQ(f.layout->layout().windows[0].place, (WindowPlace{1, {80, 10}}));
    f.layout->undo();
    EXPECT_EQ(f.files(), before);
    EXPECT_FALSE(f.layout->history().canUndo());
}

TEST(LayoutHistory, AChangeThatFailsHalfWayPutsBackWhatItWrote)
{
    TestPlatform t;
    const QString a = t.root() + "\\a.ini", b = t.root() + "\\b.ini";
    TestPlatform::writeBytes(t.root() + "/a.ini", "[S]\r\nK=1\r\n");
    LayoutHistory history(t.files);
    EXPECT_THROW(history.record("two files", {a, b},
                                [&] {
                                    t.ini.writeString(a, "S", "K", "2");
                                    t.ini.writeString(b, "S", "K", "2");
                                    throw unableToWrite(b);
                                }),
                 VarnoltError);
    EXPECT_EQ(TestPlatform::readBytes(t.root() + "/a.ini"), "[S]\r\nK=1\r\n");
    EXPECT_FALSE(QFile::exists(t.root() + "/b.ini")) << "a file the change made is removed again";
    EXPECT_FALSE(history.canUndo());
}
