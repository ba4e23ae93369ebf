#include "app/ActionState.h"

#include <gtest/gtest.h>

TEST(ActionState, FollowsRunningLoadedPanelAndMonitors)
{
    const struct
    {
        bool running, panelLoaded;
        int monitors;
        ActionState expected;
    } cases[] = {
        // clang-format off
        {false, false, 1, {.startEnabled = false, .stopEnabled = false, .groupsEnabled = true,  .sendToEnabled = false, .addRowsEnabled = false}},
        {false, true,  1, {.startEnabled = true,  .stopEnabled = false, .groupsEnabled = true,  .sendToEnabled = false, .addRowsEnabled = true}},
        {true,  true,  1, {.startEnabled = false, .stopEnabled = true,  .groupsEnabled = false, .sendToEnabled = false, .addRowsEnabled = true}},
        {true,  false, 2, {.startEnabled = false, .stopEnabled = true,  .groupsEnabled = false, .sendToEnabled = true, .addRowsEnabled = false}},
        {false, true,  2, {.startEnabled = true,  .stopEnabled = false, .groupsEnabled = true,  .sendToEnabled = true, .addRowsEnabled = true}},
        // Before the window is shown no monitor is counted yet.
        {false, false, 0, {.startEnabled = false, .stopEnabled = false, .groupsEnabled = true,  .sendToEnabled = false, .addRowsEnabled = false}},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(deriveActions(c.running, c.panelLoaded, c.monitors), c.expected)
            << "running " << c.running << ", loaded " << c.panelLoaded << ", monitors " << c.monitors;
}
