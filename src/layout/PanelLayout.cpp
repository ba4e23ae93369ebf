#include "PanelLayout.h"

#include "instruments/InstrumentOperations.h"
#include "instruments/InstrumentRow.h"
#include "panels/PanelFiles.h"
#include "panels/PanelRecord.h"
#include "platform/Convert.h"
#include "platform/IniService.h"
#include "settings/PanelFolder.h"

#include <algorithm>
#include <climits>

namespace {

// Squared distance between a point and a rectangle, 0 inside it.
long long distanceSquared(const QRect& r, QPoint p)
{
    const long long dx = p.x() < r.left() ? r.left() - p.x() : p.x() > r.right() ? p.x() - r.right() : 0;
    const long long dy = p.y() < r.top() ? r.top() - p.y() : p.y() > r.bottom() ? p.y() - r.bottom() : 0;
    return dx * dx + dy * dy;
}

std::optional<int> readInt(const IniService& ini, const QString& file, const QString& section, const QString& key)
{
    return parseInteger(ini.readString(file, section, key, QString()));
}

} // namespace

QRect PanelLayout::desktopRect(const PlacedWindow& w) const
{
    const int index = w.place.monitor >= 0 && w.place.monitor < int(monitors.size()) ? w.place.monitor : 0;
    const QPoint origin = monitors.empty() ? QPoint() : monitors[index].topLeft();
    const QSize size = w.size.isEmpty() ? QSize(1, 1) : w.size;
    return {origin + w.place.offset, size};
}

bool PanelLayout::onNoMonitor(const PlacedWindow& w) const
{
    if (w.place.monitor < 0 || w.place.monitor >= int(monitors.size()))
        return true;
    const QRect r = desktopRect(w);
    return std::none_of(monitors.begin(), monitors.end(), [&r](const QRect& m) { return m.intersects(r); });
}

int PanelLayout::offScreenCount() const
{
    return int(std::count_if(windows.begin(), windows.end(), [this](const PlacedWindow& w) { return onNoMonitor(w); }));
}

int PanelLayout::windowOfRow(int row) const
{
    for (int i = 0; i < int(windows.size()); ++i)
        if (windows[i].row == row)
            return i;
    return -1;
}

int nearestMonitor(const std::vector<QRect>& monitors, QPoint point)
{
    int best = 0;
    long long bestDistance = LLONG_MAX;
    for (int i = 0; i < int(monitors.size()); ++i) {
        const long long d = distanceSquared(monitors[i], point);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

WindowPlace placeOf(const std::vector<QRect>& monitors, const QRect& desktopRect)
{
    if (monitors.empty())
        return {0, desktopRect.topLeft()};
    const int index = nearestMonitor(monitors, desktopRect.center());
    return {index, desktopRect.topLeft() - monitors[index].topLeft()};
}

PanelLayout readPanelLayout(const IniService& ini, const PanelFolder& folder, const PanelRecord& record,
                            const std::vector<InstrumentRow>& rows, std::vector<QRect> monitors)
{
    PanelLayout layout;
    layout.monitors = std::move(monitors);
    layout.stored = record.Layout;

    if (record.ShowBackground) {
        const QString file = folder.backgroundSettingsFile();
        const int width = readIniInt(ini, file, QStringLiteral("Settings"), QStringLiteral("Width"), 800);
        const int height = readIniInt(ini, file, QStringLiteral("Settings"), QStringLiteral("Height"), 600);
        const int top = readIniInt(ini, file, PositionSection, QStringLiteral("Top"), 0);
        const int left = readIniInt(ini, file, PositionSection, QStringLiteral("Left"), 0);
        if (width > 0 && height > 0)
            layout.background = QRect(left, top, width, height);
    }

    for (int i = 0; i < int(rows.size()); ++i) {
        const InstrumentRow& row = rows[i];
        if (row.isApplication())
            continue;
        PlacedWindow w;
        w.file = InstrumentPositionFileName(folder, row);
        const std::optional<int> x = readInt(ini, w.file, PositionSection, QStringLiteral("X"));
        const std::optional<int> y = readInt(ini, w.file, PositionSection, QStringLiteral("Y"));
        if (!x || !y) {
            ++layout.unplaced;
            continue;
        }
        w.row = i;
        w.label = row.Name + u' ' + row.field(InstrumentRow::InstNo);
        // A child that keeps no monitor opens on the panel's.
        const int panelMonitor = parseInteger(record.Monitor).value_or(0);
        w.place = {readInt(ini, w.file, PositionSection, QStringLiteral("Monitor")).value_or(panelMonitor), {*x, *y}};
        const int width = readInt(ini, w.file, SizeSection, QStringLiteral("Width")).value_or(0);
        const int height = readInt(ini, w.file, SizeSection, QStringLiteral("Height")).value_or(0);
        if (width > 0 && height > 0)
            w.size = QSize(width, height);
        w.locked = ini.readString(w.file, PositionSection, QStringLiteral("IsLocked"), QString())
                       .compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
        w.on = row.On;
        layout.windows.push_back(std::move(w));
    }
    return layout;
}
