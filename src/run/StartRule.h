#pragma once

// Start, from the ribbon or from a control datagram, needs a loaded panel and none running.
constexpr bool canStart(bool running, bool panelLoaded)
{
    return panelLoaded && !running;
}
