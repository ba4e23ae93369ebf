#include "FitToMonitors.h"

#include "panels/PanelFiles.h"
#include "platform/Convert.h"
#include "settings/PanelFolder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

const QString Config = QStringLiteral("Config");
const QString Settings = QStringLiteral("Settings");
constexpr int OneMonitorMode = 1;
constexpr int CustomMode = 2;

QSize storedSize(const MonitorLayout& stored, int index)
{
    if (index < 0 || index >= stored.ScreenCount || index >= MonitorLayout::MeasuredScreens)
        return {};
    const QSize s(stored.ScreenWidth[index], stored.ScreenHeight[index]);
    return s.isEmpty() ? QSize() : s;
}

int sizeDistance(QSize a, QSize b)
{
    return std::abs(a.width() - b.width()) + std::abs(a.height() - b.height());
}

int scaled(int value, int to, int from)
{
    return int(std::lround(double(value) * to / from));
}

bool onSomeMonitor(const std::vector<QRect>& monitors, const QRect& r)
{
    return std::any_of(monitors.begin(), monitors.end(), [&r](const QRect& m) { return m.intersects(r); });
}

// The rectangle moved as little as it takes to lie wholly on the monitor nearest to it (its top-left corner
// on the monitor when it is larger than the monitor).
QRect pulledOnScreen(const std::vector<QRect>& monitors, const QRect& r)
{
    const QRect& m = monitors[nearestMonitor(monitors, r.center())];
    const int x = std::clamp(r.x(), m.x(), std::max(m.x(), m.x() + m.width() - r.width()));
    const int y = std::clamp(r.y(), m.y(), std::max(m.y(), m.y() + m.height() - r.height()));
    return {QPoint(x, y), r.size()};
}

// Adds the key when its new value differs from what the file holds.
void change(std::map<QString, std::vector<IniEntry>>& writes, const IniService& ini, const QString& file,
            const QString& section, const QString& key, const QString& value)
{
    if (ini.readString(file, section, key, QString()) != value)
        writes[file].push_back({section, key, value});
}

} // namespace

std::vector<int> mapMonitors(const MonitorLayout& stored, const std::vector<QRect>& monitors, int needed)
{
    const int count = std::max(stored.ScreenCount, needed);
    const int available = int(monitors.size());
    std::vector<int> map(std::max(count, 0), -1);
    if (available == 0)
        return std::vector<int>(map.size(), 0);
    std::vector<bool> kept(available, false);

    for (int i = 0; i < count && i < available; ++i) {
        if (storedSize(stored, i).isValid() && storedSize(stored, i) == monitors[i].size()) {
            map[i] = i;
            kept[i] = true;
        }
    }
    // A monitor of the same size at another index: the PC numbers its monitors otherwise now.
    std::vector<bool> taken = kept;
    for (int i = 0; i < count; ++i) {
        const QSize size = storedSize(stored, i);
        if (map[i] >= 0 || !size.isValid())
            continue;
        int best = -1;
        for (int j = 0; j < available; ++j)
            if (!taken[j] && monitors[j].size() == size && (best < 0 || std::abs(j - i) < std::abs(best - i)))
                best = j;
        if (best >= 0) {
            map[i] = best;
            taken[best] = true;
        }
    }
    for (int i = 0; i < count; ++i) {
        if (map[i] >= 0)
            continue;
        if (i < available) {
            map[i] = i;
            continue;
        }
        const QSize size = storedSize(stored, i);
        int best = available - 1; // no size known: the last monitor is the nearest by number
        if (size.isValid()) {
            for (int j = 0; j < available; ++j)
                if (sizeDistance(monitors[j].size(), size) < sizeDistance(monitors[best].size(), size))
                    best = j;
        }
        map[i] = best;
    }
    return map;
}

QStringList FitPlan::files() const
{
    QStringList paths;
    for (const auto& [path, entries] : writes)
        paths << path;
    return paths;
}

FitPlan planFit(const IniService& ini, const PanelLayout& layout, const PanelFolder& folder)
{
    FitPlan plan;
    const std::vector<QRect>& monitors = layout.monitors;
    if (monitors.empty())
        return plan;

    int needed = 0;
    for (const PlacedWindow& w : layout.windows)
        needed = std::max(needed, w.place.monitor + 1);
    const QString settingsFile = folder.settingsFile();
    const QString backgroundFile = folder.backgroundSettingsFile();
    const int panelMonitor = readIniInt(ini, settingsFile, Config, QStringLiteral("PanelMonitor"), 0);
    const int backgroundMonitor = readIniInt(ini, backgroundFile, Settings, QStringLiteral("Monitor"), 0);
    const int backgroundMode = readIniInt(ini, backgroundFile, Settings, QStringLiteral("SizeType"), 0);
    needed = std::max({needed, panelMonitor + 1, backgroundMonitor + 1});
    plan.monitorMap = mapMonitors(layout.stored, monitors, needed);
    const auto target = [&plan](int stored) { return stored < 0 ? 0 : plan.monitorMap[stored]; };

    for (int i = 0; i < int(layout.windows.size()); ++i) {
        const PlacedWindow& w = layout.windows[i];
        const int to = target(w.place.monitor);
        QPoint offset = w.place.offset;
        const QSize from = storedSize(layout.stored, w.place.monitor);
        const QSize now = monitors[to].size();
        if (from.isValid() && from != now)
            offset =
                QPoint(scaled(offset.x(), now.width(), from.width()), scaled(offset.y(), now.height(), from.height()));
        const QSize size = w.size.isEmpty() ? QSize(1, 1) : w.size;
        QRect onDesktop(monitors[to].topLeft() + offset, size);
        WindowPlace place{to, offset};
        if (!onSomeMonitor(monitors, onDesktop))
            place = placeOf(monitors, pulledOnScreen(monitors, onDesktop));
        if (place == w.place)
            continue;
        plan.moved[i] = place;
        change(plan.writes, ini, w.file, PositionSection, QStringLiteral("Monitor"), QString::number(place.monitor));
        change(plan.writes, ini, w.file, PositionSection, QStringLiteral("X"), QString::number(place.offset.x()));
        change(plan.writes, ini, w.file, PositionSection, QStringLiteral("Y"), QString::number(place.offset.y()));
    }

    if (layout.background) {
        const int mode = backgroundMode;
        QRect desktop;
        for (const QRect& m : monitors)
            desktop |= m;
        QRect fitted = *layout.background;
        if (mode == OneMonitorMode) {
            const int to = target(backgroundMonitor);
            fitted = monitors[to];
            change(plan.writes, ini, backgroundFile, Settings, QStringLiteral("Monitor"), QString::number(to));
        } else if (mode == CustomMode) {
            if (!onSomeMonitor(monitors, fitted))
                fitted = pulledOnScreen(monitors, fitted);
        } else {
            fitted = QRect(QPoint(0, 0), desktop.size());
        }
        if (fitted != *layout.background) {
            plan.background = fitted;
            change(plan.writes, ini, backgroundFile, Settings, QStringLiteral("Height"),
                   QString::number(fitted.height()));
            change(plan.writes, ini, backgroundFile, Settings, QStringLiteral("Width"),
                   QString::number(fitted.width()));
            change(plan.writes, ini, backgroundFile, PositionSection, QStringLiteral("Top"),
                   QString::number(fitted.y()));
            change(plan.writes, ini, backgroundFile, PositionSection, QStringLiteral("Left"),
                   QString::number(fitted.x()));
        }
    }

    // The panel's own file last, as the panel setup writes it: monitor, count, then each monitor's size. Only a
    // one-monitor panel names a monitor there; in every other mode it stays "0".
    if (backgroundMode == OneMonitorMode && target(panelMonitor) != panelMonitor)
        change(plan.writes, ini, settingsFile, Config, QStringLiteral("PanelMonitor"),
               QString::number(target(panelMonitor)));
    change(plan.writes, ini, settingsFile, Config, QStringLiteral("No_of_Screens"), QString::number(monitors.size()));
    for (int i = 0; i < int(monitors.size()); ++i) {
        change(plan.writes, ini, settingsFile, Config, QStringLiteral("Screen_%1_Height").arg(i),
               QString::number(monitors[i].height()));
        change(plan.writes, ini, settingsFile, Config, QStringLiteral("Screen_%1_Width").arg(i),
               QString::number(monitors[i].width()));
    }
    return plan;
}

void applyFit(IniService& ini, const FitPlan& plan)
{
    for (const auto& [file, entries] : plan.writes)
        ini.writeStrings(file, entries);
}
