#pragma once

#include "panels/MonitorLayout.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

class IniService;
class PanelFolder;
struct InstrumentRow;
struct PanelRecord;

inline const QString PositionSection = QStringLiteral("Position");
// Our own gauges keep their window size beside their scale, in device pixels.
inline const QString SizeSection = QStringLiteral("Size");

// Where an instrument window opens, as its position file holds it: a monitor in the platform's order and a
// point relative to that monitor's top-left corner, in device pixels.
struct WindowPlace
{
    int monitor = 0;
    QPoint offset;

    bool operator==(const WindowPlace&) const = default;
};

// One instrument row that has a place of its own in the panel folder.
struct PlacedWindow
{
    int row = -1;  // index in the instrument list
    QString label; // name and instance, as the list shows them
    QString file;  // stored path of its position file
    WindowPlace place;
    QSize size; // device pixels; empty when the child keeps none
    bool locked = false;
    bool on = true;
};

// A panel's windows against the PC's monitors, everything in virtual-desktop device pixels.
struct PanelLayout
{
    std::vector<QRect> monitors; // the PC's, in the platform's order
    MonitorLayout stored;        // what the panel was saved on
    std::optional<QRect> background;
    std::vector<PlacedWindow> windows;
    int unplaced = 0; // instrument rows whose child has not yet saved a place

    // Where the window lies on the desktop. A window of unknown size is one pixel; a window on a monitor
    // the PC lacks is where its child would put it: on the first monitor.
    QRect desktopRect(const PlacedWindow& w) const;
    bool onNoMonitor(const PlacedWindow& w) const;
    int offScreenCount() const;
    // Index into windows of the window for an instrument row, -1 when it has none.
    int windowOfRow(int row) const;
};

// The monitor nearest to a point (the one holding it, else the closest); 0 without monitors.
int nearestMonitor(const std::vector<QRect>& monitors, QPoint point);

// The monitor index of a desktop rectangle (the one holding its centre, else the nearest) and the point
// relative to it, as a child saves its place.
WindowPlace placeOf(const std::vector<QRect>& monitors, const QRect& desktopRect);

// Reads what the panel's files say: the background's rectangle and one window per instrument row whose
// position file holds a place. Application rows have no such file.
PanelLayout readPanelLayout(const IniService& ini, const PanelFolder& folder, const PanelRecord& record,
                            const std::vector<InstrumentRow>& rows, std::vector<QRect> monitors);
