// What a running panel asks of the Windows desktop: the screensaver switch of the session and the thread
// execution state, set and given back; asked from another thread, the request still lands on the thread
// that holds it.
#include "platform/WinDesktopPower.h"
#include "support/Wait.h"

#include <QThread>

#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

namespace {

bool screenSaverActive()
{
    BOOL active = FALSE;
    ::SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    return active;
}

} // namespace

TEST(WinDesktopPower, TheScreenSaverIsSwitchedForTheSessionAndBack)
{
    WinDesktopPower power;
    const bool before = screenSaverActive();
    EXPECT_EQ(power.screenSaverActive(), before);
    power.setScreenSaverActive(false);
    EXPECT_FALSE(power.screenSaverActive());
    EXPECT_FALSE(screenSaverActive());
    power.setScreenSaverActive(true);
    EXPECT_TRUE(power.screenSaverActive());
    power.setScreenSaverActive(before);
}

TEST(WinDesktopPower, SleepIsInhibitedOnTheThreadThatHoldsTheRequest)
{
    WinDesktopPower power;
    // The previous state comes back from each call: ES_CONTINUOUS alone withdraws the request.
    const auto current = [] {
        const EXECUTION_STATE previous = ::SetThreadExecutionState(ES_CONTINUOUS);
        ::SetThreadExecutionState(previous);
        return previous;
    };
    power.setSleepInhibited(true);
    EXPECT_EQ(current() & ES_SYSTEM_REQUIRED, ES_SYSTEM_REQUIRED);
    EXPECT_EQ(current() & ES_DISPLAY_REQUIRED, 0u) << "the display may still switch itself off";

    // Stop may come from another thread; the request made here is the one withdrawn.
    std::thread([&] { power.setSleepInhibited(false); }).join();
    EXPECT_NE(current() & ES_SYSTEM_REQUIRED, 0u) << "withdrawn on a thread that holds no request";
    EXPECT_TRUE(waitFor([&] { return (current() & ES_SYSTEM_REQUIRED) == 0; }, 2000));
}
