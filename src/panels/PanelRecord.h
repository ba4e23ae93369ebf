#pragma once

#include "MonitorLayout.h"

#include <QString>

// The loaded panel's settings; Name is empty while no panel is loaded.
struct PanelRecord
{
    QString Name;
    QString Monitor = QStringLiteral("0"); // held as text, as stored
    MonitorLayout Layout;
    bool ShowBackground = true;
    bool ShowBezels = true;
    bool EnableLighting = false;
};
