#pragma once

#include <functional>

// Calls the handler on the event loop's thread when the system asks the program to end, so it can close the
// way Exit does: SIGTERM, SIGINT or SIGHUP here (a logout, Ctrl+C, a closed terminal); Ctrl+C, Ctrl+Break or a
// closed console on Windows. Call once, after the application object exists.
void onTerminationRequest(std::function<void()> handler);

// Calls the handler on the event loop's thread when the user's session ends and the system ends the process as
// soon as the handler returns (Windows: WM_ENDSESSION). The handler must close at once, saves and Stop
// included, without waiting for anything to unwind; the process ends right after it. Where the end of a
// session arrives as a termination request (SIGTERM here), it is never called.
void onSessionEnd(std::function<void()> handler);
