#pragma once

#include "run/StartRule.h"

// Which ribbon controls are usable. Only these change at run time; every other control stays enabled.
struct ActionState
{
    bool startEnabled = false;
    bool stopEnabled = false;  // true exactly while a panel runs
    bool groupsEnabled = true; // every group but "Control"
    bool sendToEnabled = false;
    // Add Instrument and Add 3rd Party App: rows added with no panel loaded would belong to no panel and be
    // lost at the next New or Load.
    bool addRowsEnabled = false;

    bool operator==(const ActionState&) const = default;
};

// Start needs a loaded panel and none running; a running panel locks every group but "Control"; Send To needs
// a second monitor to send to; adding rows needs a panel to add them to.
constexpr ActionState deriveActions(bool running, bool panelLoaded, int monitorCount)
{
    return {.startEnabled = canStart(running, panelLoaded),
            .stopEnabled = running,
            .groupsEnabled = !running,
            .sendToEnabled = monitorCount > 1,
            .addRowsEnabled = panelLoaded};
}
