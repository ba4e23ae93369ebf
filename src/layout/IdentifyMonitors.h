#pragma once

class QObject;

// Shows each monitor's number, as the layout view and Send To count them (1 for the first monitor in the
// platform's order), large in the middle of that monitor for three seconds.
void identifyMonitors(QObject* owner);

inline constexpr int IdentifyMilliseconds = 3000;
