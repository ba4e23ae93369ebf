#include "run/DesktopPreparation.h"
#include "platform/Errors.h"
#include "platform/ShowDesktop.h"
#include "platform/SystemCritical.h"
#include "support/TestPlatform.h"

#include <gtest/gtest.h>

#include <thread>

TEST(SystemCritical, OnlyChangesReachThePlatformFromWhicheverThread)
{
    RecordingDesktopPower power;
    TSystemCritical critical(power);
    EXPECT_FALSE(critical.IsCritical());
    EXPECT_TRUE(power.calls.isEmpty()) << "construction asks nothing";

    std::thread([&] {
        critical.SetIsCritical(true);
        critical.SetIsCritical(true);
    }).join();
    EXPECT_TRUE(critical.IsCritical());
    critical.SetIsCritical(false);
    critical.SetIsCritical(false);
    EXPECT_EQ(power.calls, QStringList({"sleep inhibited", "sleep allowed"}));
}

TEST(SystemCritical, ARequestLeftOnIsWithdrawnWhenDestroyed)
{
    RecordingDesktopPower power;
    {
        TSystemCritical critical(power);
        critical.SetIsCritical(true);
    }
    EXPECT_EQ(power.calls, QStringList({"sleep inhibited", "sleep allowed"}));
}

TEST(SystemCritical, OnlyAChangeReachesThePlatform)
{
    RecordingDesktopPower power;
    TSystemCritical critical(power);
    critical.SetIsCritical(true);
    critical.SetIsCritical(true);
    critical.SetIsCritical(false);
    critical.SetIsCritical(false);
    EXPECT_EQ(power.calls, QStringList({"sleep inhibited", "sleep allowed"}));
}

namespace {

// The window manager's "show desktop", recorded in the order of the other desktop requests.
struct RecordingShowDesktop : ShowDesktop
{
    QStringList& calls;
    explicit RecordingShowDesktop(QStringList& log) : calls(log) {}
    void setShowingDesktop(bool showing) override
    {
        calls << (showing ? QStringLiteral("desktop shown") : QStringLiteral("windows back"));
    }
};

} // namespace

TEST(DesktopPreparation, PreparesAndRestoresInOrder)
{
    const struct
    {
        bool screenSaverOn, declutter;
        QStringList prepared, restored;
    } cases[] = {
        {true, false, {"screenSaver query", "screenSaver off", "sleep inhibited"}, {"screenSaver on", "sleep allowed"}},
        {false, false, {"screenSaver query", "sleep inhibited"}, {"sleep allowed"}},
        {true,
         true,
         {"screenSaver query", "screenSaver off", "sleep inhibited", "icons hidden", "windows minimised",
          "desktop shown"},
         {"screenSaver on", "sleep allowed", "icons shown", "windows back"}},
        {false,
         true,
         {"screenSaver query", "sleep inhibited", "icons hidden", "windows minimised", "desktop shown"},
         {"sleep allowed", "icons shown", "windows back"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "screensaver " << c.screenSaverOn << ", declutter " << c.declutter);
        RecordingDesktopPower power;
        power.screenSaverOn = c.screenSaverOn;
        TSystemCritical critical(power);
        RecordingShowDesktop showDesktop(power.calls);
        DesktopPreparation desktop(power, critical, &showDesktop);

        desktop.PrepareDesktop(c.declutter);
        EXPECT_EQ(power.calls, c.prepared);
        EXPECT_TRUE(critical.IsCritical());
        EXPECT_FALSE(power.screenSaverOn);

        power.calls.clear();
        desktop.RestoreDesktop(c.declutter);
        EXPECT_EQ(power.calls, c.restored);
        EXPECT_FALSE(critical.IsCritical());
        EXPECT_EQ(power.screenSaverOn, c.screenSaverOn);
        EXPECT_EQ(desktop.screenSaverWasActive(), c.screenSaverOn) << "kept until the next start";
    }
}

TEST(DesktopPreparation, AFailedDeclutterLeavesNothingPrepared)
{
    RecordingDesktopPower power;
    power.failMinimizing = true;
    TSystemCritical critical(power);
    DesktopPreparation desktop(power, critical);

    EXPECT_THROW(desktop.PrepareDesktop(true), VarnoltError);
    EXPECT_FALSE(critical.IsCritical());
    EXPECT_TRUE(power.screenSaverOn);
    EXPECT_EQ(power.calls, QStringList({"screenSaver query", "screenSaver off", "sleep inhibited", "icons hidden",
                                        "screenSaver on", "sleep allowed", "icons shown"}));
}
