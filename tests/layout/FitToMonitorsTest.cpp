#include "layout/FitToMonitors.h"
#include "LayoutFixture.h"

#include <gtest/gtest.h>

namespace {

struct Gauge
{
    const char* file;
    int monitor, x, y;
};

struct RepairCase
{
    const char* name;
    std::vector<QSize> stored; // the monitors the panel was saved on
    std::vector<QRect> pc;     // the monitors the PC has now
    std::vector<Gauge> before, after;
    QSize desktopBefore, desktopAfter; // the background covers the whole desktop
    int countAfter;                    // "No_of_Screens" afterwards
    std::vector<QSize> sizesAfter;     // the size keys afterwards, in file order (stale ones stay)
};

const QSize FullHd(1920, 1080), Sxga(1280, 1024), Xga(1024, 768), Qhd(2560, 1440);

const RepairCase Cases[] = {
    {"a monitor removed: its windows go to the remaining one, scaled to its resolution",
     {FullHd, Sxga},
     {QRect({0, 0}, FullHd)},
     {{"Airspeed1.ini", 0, 100, 50}, {"Altimeter1.ini", 1, 300, 200}},
     {{"Airspeed1.ini", 0, 100, 50}, {"Altimeter1.ini", 0, 450, 211}},
     {3200, 1080},
     {1920, 1080},
     1,
     {FullHd, Sxga}},
    {"a monitor added: windows stay, the panel learns the new monitor",
     {FullHd},
     {QRect({0, 0}, FullHd), QRect({1920, 0}, Sxga)},
     {{"Airspeed1.ini", 0, 100, 50}, {"Altimeter1.ini", 0, 300, 200}},
     {{"Airspeed1.ini", 0, 100, 50}, {"Altimeter1.ini", 0, 300, 200}},
     {1920, 1080},
     {3200, 1080},
     2,
     {FullHd, Sxga}},
    {"a resolution changed: places on that monitor are scaled",
     {FullHd, Sxga},
     {QRect({0, 0}, Qhd), QRect({2560, 0}, Sxga)},
     {{"Airspeed1.ini", 0, 100, 50}, {"Altimeter1.ini", 1, 300, 200}},
     {{"Airspeed1.ini", 0, 133, 67}, {"Altimeter1.ini", 1, 300, 200}},
     {3200, 1080},
     {3840, 1440},
     2,
     {Qhd, Sxga}},
    {"the order swapped: windows follow their monitor to its new number",
     {FullHd, Sxga},
     {QRect({0, 0}, Sxga), QRect({1280, 0}, FullHd)},
     {{"Airspeed1.ini", 0, 100, 50}, {"Altimeter1.ini", 1, 300, 200}},
     {{"Airspeed1.ini", 1, 100, 50}, {"Altimeter1.ini", 0, 300, 200}},
     {3200, 1080},
     {3200, 1080},
     2,
     {Sxga, FullHd}},
    {"a window already off screen is pulled wholly onto the nearest monitor",
     {FullHd, Sxga},
     {QRect({0, 0}, FullHd), QRect({1920, 0}, Sxga)},
     {{"Airspeed1.ini", 0, 100, 50}, {"Altimeter1.ini", 1, 1500, 200}, {"RPM1.ini", 0, -900, -700}},
     {{"Airspeed1.ini", 0, 100, 50}, {"Altimeter1.ini", 1, 1080, 200}, {"RPM1.ini", 0, 0, 0}},
     {3200, 1080},
     {3200, 1080},
     2,
     {FullHd, Sxga}},
    {"more monitors stored than the PC has: a missing one maps to the nearest in size",
     {FullHd, Sxga, Xga},
     {QRect({0, 0}, FullHd), QRect({1920, 0}, Sxga)},
     {{"Airspeed1.ini", 0, 100, 50}, {"Altimeter1.ini", 2, 100, 100}},
     {{"Airspeed1.ini", 0, 100, 50}, {"Altimeter1.ini", 1, 125, 133}},
     {3200, 1080},
     {3200, 1080},
     2,
     {FullHd, Sxga, Xga}},
};

} // namespace

TEST(FitToMonitors, RepairsEachChangeOfMonitorsAndUndoGivesEveryFileBack)
{
    for (const RepairCase& c : Cases) {
        SCOPED_TRACE(c.name);
        LayoutFixture f;
        f.t.monitors.screens = c.pc;
        f.write("Cockpit.ini", settingsFile(int(c.stored.size()), c.stored));
        f.write("PanelBackGround.ini", backgroundFile(c.desktopBefore));
        for (const Gauge& g : c.before)
            f.write(g.file, gaugeFile(g.monitor, g.x, g.y));
        f.open();
        const auto before = f.files();

        ASSERT_TRUE(f.layout->applyFit(f.layout->planFit()));

        auto expected = before;
        expected["Cockpit.ini"] = settingsFile(c.countAfter, c.sizesAfter);
        expected["PanelBackGround.ini"] = backgroundFile(c.desktopAfter);
        for (const Gauge& g : c.after)
            expected[g.file] = gaugeFile(g.monitor, g.x, g.y);
        EXPECT_EQ(f.files(), expected);
        EXPECT_EQ(f.s.loaded().record().Layout.ScreenCount, int(c.pc.size())) << "the panel's record follows";
        EXPECT_TRUE(f.layout->planFit().empty()) << "a second repair finds nothing to do";

        f.layout->undo();
        EXPECT_EQ(f.files(), before);
        EXPECT_EQ(f.s.loaded().record().Layout.ScreenCount, int(c.stored.size()));
        f.layout->redo();
        EXPECT_EQ(f.files(), expected);
    }
}

TEST(FitToMonitors, MapsStoredMonitorsBySizeBeforeIndex)
{
    MonitorLayout stored;
    stored.ScreenCount = 3;
    stored.ScreenWidth = {1920, 1280, 1024, 0};
    stored.ScreenHeight = {1080, 1024, 768, 0};
    const std::vector<QRect> third{QRect(0, 0, 1024, 768), QRect(1024, 0, 1920, 1080), QRect(2944, 0, 1280, 1024)};
    EXPECT_EQ(mapMonitors(stored, third, 3), (std::vector<int>{1, 2, 0})) << "a new first monitor renumbered all";
    const std::vector<QRect> one{QRect(0, 0, 800, 600)};
    EXPECT_EQ(mapMonitors(stored, one, 5), (std::vector<int>{0, 0, 0, 0, 0})) << "one monitor takes everything";
    MonitorLayout unknown; // a panel saved without monitor keys: one monitor of no known size
    unknown.ScreenCount = 1;
    EXPECT_EQ(mapMonitors(unknown, third, 2), (std::vector<int>{0, 1}));
}

TEST(FitToMonitors, WritesNothingWhenThePanelFits)
{
    LayoutFixture f;
    f.t.monitors.screens = {QRect({0, 0}, FullHd)};
    f.write("Cockpit.ini", settingsFile(1, {FullHd}));
    f.write("PanelBackGround.ini", backgroundFile(FullHd));
    f.write("Airspeed1.ini", gaugeFile(0, 10, 10));
    f.open();
    EXPECT_TRUE(f.layout->planFit().empty());
    EXPECT_FALSE(f.layout->applyFit(f.layout->planFit()));
    EXPECT_FALSE(f.layout->history().canUndo());
}

TEST(FitToMonitors, RefusedWhileThePanelRuns)
{
    LayoutFixture f;
    f.t.monitors.screens = {QRect({0, 0}, Qhd)};
    f.write("Cockpit.ini", settingsFile(1, {FullHd}));
    f.write("Airspeed1.ini", gaugeFile(0, 100, 100));
    f.open();
    const auto before = f.files();
    f.running = true;
    EXPECT_TRUE(f.layout->readOnly());
    EXPECT_FALSE(f.layout->applyFit(f.layout->planFit()));
    f.layout->moveWindow(0, QPoint(5, 5));
    EXPECT_EQ(f.files(), before);
}

TEST(FitToMonitors, AMonitorLostWhileRunningIsReportedAndRepairedAfterStopWhenTheUserAgrees)
{
    LayoutFixture f;
    f.t.monitors.screens = {QRect({0, 0}, FullHd), QRect({1920, 0}, Sxga)};
    f.write("Cockpit.ini", settingsFile(2, {FullHd, Sxga}));
    f.write("Airspeed1.ini", gaugeFile(1, 100, 100));
    f.open();
    QList<int> lost;
    QObject::connect(f.layout.get(), &LayoutController::windowsLost, [&lost](int count) { lost << count; });

    f.running = true;
    f.t.monitors.screens.pop_back();
    emit f.t.monitors.changed();
    EXPECT_EQ(lost, QList<int>{1});
    f.layout->offerPendingFit();
    EXPECT_TRUE(f.prompter.messages.empty()) << "nothing is offered while the panel runs";

    f.running = false;
    f.prompter.answerMessage(MessageButton::Yes);
    f.layout->offerPendingFit();
    ASSERT_EQ(f.prompter.messages.size(), 1u);
    EXPECT_EQ(f.read("Airspeed1.ini"), gaugeFile(0, 150, 105));
    f.layout->offerPendingFit();
    EXPECT_EQ(f.prompter.messages.size(), 1u) << "offered once";
}
