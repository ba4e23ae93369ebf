#pragma once

#include "PanelLayout.h"
#include "platform/IniService.h"

#include <QStringList>

#include <map>
#include <vector>

// Which of the PC's monitors stands in for each monitor the panel was saved on (index: the stored monitor).
// A stored monitor keeps its index when the PC's monitor there has its size; otherwise it follows a monitor of
// its size that moved to another index; otherwise it keeps its index if the PC has it; otherwise it goes to
// the monitor nearest in size. `needed` stored monitors at least are mapped (windows may name more monitors
// than the panel stored).
std::vector<int> mapMonitors(const MonitorLayout& stored, const std::vector<QRect>& monitors, int needed);

// The repair that fits a panel to the PC's monitors, worked out without writing anything.
struct FitPlan
{
    std::vector<int> monitorMap;
    std::map<int, WindowPlace> moved; // index into the layout's windows -> new place
    std::optional<QRect> background;  // the background's new rectangle, when it changes
    // The keys to write, per stored file path, only those whose value changes.
    std::map<QString, std::vector<IniEntry>> writes;

    bool empty() const { return writes.empty(); }
    QStringList files() const;
};

// Each window goes to the monitor that stands in for its own, its place scaled when the resolutions differ;
// a window that would then lie on no monitor is pulled fully onto the nearest one. The background follows its
// mode (whole desktop, one monitor, or its own rectangle pulled on screen), and the panel's stored monitors
// become the PC's.
FitPlan planFit(const IniService& ini, const PanelLayout& layout, const PanelFolder& folder);

// Writes the plan's keys, each file replaced once.
void applyFit(IniService& ini, const FitPlan& plan);
