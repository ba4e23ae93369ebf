#include "LayoutController.h"

#include "Placing.h"
#include "panels/LoadedPanel.h"
#include "platform/FileSystem.h"
#include "platform/Monitors.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"
#include "settings/Folders.h"

namespace {

std::vector<QRect> monitorBounds(const Monitors& monitors)
{
    std::vector<QRect> bounds;
    for (int i = 0; i < monitors.count(); ++i)
        bounds.push_back(monitors.bounds(i));
    return bounds;
}

} // namespace

LayoutController::LayoutController(const Platform& platform, Prompter& prompter, const Folders& folders,
                                   LoadedPanel& loaded, std::function<bool()> running, QObject* parent)
    : QObject(parent), m_platform(platform), m_prompter(prompter), m_folders(folders), m_loaded(loaded),
      m_running(std::move(running)), m_history(*platform.files)
{
    // A child rewrites its file through a temporary file and a rename, and several files change together:
    // one read after the burst is enough.
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(50);
    connect(&m_refresh, &QTimer::timeout, this, &LayoutController::refresh);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &LayoutController::scheduleRefresh);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &LayoutController::scheduleRefresh);
    if (platform.monitors)
        connect(platform.monitors, &Monitors::changed, this, &LayoutController::onMonitorsChanged);
    connect(&loaded, &LoadedPanel::changed, this, &LayoutController::onPanelChanged);
    InstrumentListModel& rows = loaded.instruments();
    connect(&rows, &QAbstractItemModel::modelReset, this, &LayoutController::scheduleRefresh);
    connect(&rows, &QAbstractItemModel::layoutChanged, this, &LayoutController::scheduleRefresh);
    connect(&rows, &QAbstractItemModel::rowsInserted, this, &LayoutController::scheduleRefresh);
    connect(&rows, &QAbstractItemModel::rowsRemoved, this, &LayoutController::scheduleRefresh);
    connect(&rows, &QAbstractItemModel::dataChanged, this, &LayoutController::scheduleRefresh);
    onPanelChanged();
}

QString LayoutController::panelName() const
{
    return m_loaded.isLoaded() ? m_loaded.name() : QString();
}

void LayoutController::scheduleRefresh()
{
    m_refresh.start();
}

void LayoutController::onPanelChanged()
{
    std::optional<PanelFolder> folder;
    if (m_loaded.isLoaded())
        folder.emplace(m_folders.IniPath, m_loaded.name());
    const auto pathOf = [](const std::optional<PanelFolder>& f) { return f ? f->path() : QString(); };
    if (pathOf(folder) != pathOf(m_panelFolder)) {
        // The steps belong to the files of the panel they were made on.
        m_history.clear();
    }
    m_panelFolder = folder;
    refresh();
}

void LayoutController::onMonitorsChanged()
{
    refresh();
    const int lost = m_layout.offScreenCount();
    if (m_running() && lost > 0) {
        m_offerFitAfterStop = true;
        emit windowsLost(lost);
    }
}

void LayoutController::refresh()
{
    m_refresh.stop();
    const std::vector<QRect> monitors =
        m_platform.monitors ? monitorBounds(*m_platform.monitors) : std::vector<QRect>{};
    if (!m_panelFolder)
        m_layout = PanelLayout{monitors, {}, {}, {}, 0};
    else
        m_layout = readPanelLayout(*m_platform.ini, *m_panelFolder, m_loaded.record(), m_loaded.instruments().rows(),
                                   monitors);
    watchFiles();
    emit changed();
}

void LayoutController::watchFiles()
{
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
    if (!m_panelFolder || !m_platform.files->folderExists(m_panelFolder->path()))
        return;
    QStringList paths{nativePath(m_panelFolder->path())};
    for (const PlacedWindow& w : m_layout.windows)
        paths << nativePath(w.file);
    m_watcher.addPaths(paths);
}

void LayoutController::moveWindow(int index, QPoint desktopPoint)
{
    if (readOnly() || index < 0 || index >= int(m_layout.windows.size()))
        return;
    const PlacedWindow& w = m_layout.windows[index];
    const QRect moved(desktopPoint, w.size.isEmpty() ? QSize(1, 1) : w.size);
    const WindowPlace place = placeOf(m_layout.monitors, moved);
    if (place == w.place)
        return;
    const QString file = w.file;
    m_history.record(QStringLiteral("Move %1").arg(w.label), {file}, [&] { writePlace(*m_platform.ini, file, place); });
    refresh();
}

void LayoutController::undo()
{
    if (m_running())
        return;
    m_history.undo();
    reloadAfterStep();
}

void LayoutController::redo()
{
    if (m_running())
        return;
    m_history.redo();
    reloadAfterStep();
}

void LayoutController::reloadAfterStep()
{
    // A step may have changed the panel's stored monitors, which the monitor check reads from its record.
    if (m_loaded.isLoaded())
        m_loaded.reloadSettings();
    refresh();
}

FitPlan LayoutController::planFit() const
{
    if (!m_panelFolder)
        return {};
    return ::planFit(*m_platform.ini, m_layout, *m_panelFolder);
}

bool LayoutController::applyFit(const FitPlan& plan)
{
    if (m_running() || plan.empty())
        return false;
    m_history.record(QStringLiteral("Fit to These Monitors"), plan.files(), [&] { ::applyFit(*m_platform.ini, plan); });
    // The panel's stored monitors are part of its settings: the monitor check reads them from there.
    m_loaded.reloadSettings();
    refresh();
    return true;
}

bool LayoutController::fitLoadedPanel()
{
    refresh();
    const FitPlan plan = planFit();
    if (plan.empty())
        return true;
    return applyFit(plan);
}

void LayoutController::setRunning(bool)
{
    refresh();
}

void LayoutController::offerPendingFit()
{
    if (m_running() || !m_offerFitAfterStop)
        return;
    m_offerFitAfterStop = false;
    const FitPlan plan = planFit();
    if (plan.empty())
        return;
    const MessageButton answer = m_prompter.message(
        MessageKind::Confirmation,
        QStringLiteral("The monitors changed while the panel ran, and some of its windows lie on no monitor. "
                       "Fit the panel to these monitors now? Undo in the layout view takes it back."),
        MessageButton::Yes | MessageButton::No, MessageButton::Yes);
    if (answer == MessageButton::Yes)
        runGuarded(m_prompter, [&] { applyFit(plan); });
}
