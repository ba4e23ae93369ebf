#pragma once

#include <functional>

// Calls the handler on the event loop's thread when SIGTERM, SIGINT or SIGHUP arrives (a logout, Ctrl+C), so the
// program can close the way Exit does. Call once, after the application object exists.
void onTerminationRequest(std::function<void()> handler);
