#pragma once

#include "FitToMonitors.h"
#include "LayoutHistory.h"
#include "PanelLayout.h"
#include "settings/PanelFolder.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class LoadedPanel;
class Prompter;
struct Folders;
struct Platform;

inline const QString RunningReadOnlyText =
    QStringLiteral("The panel is running: its windows keep their own places now. Stop it to move them here.");

// The loaded panel's layout as the layout view shows it, kept up to date with the panel folder (children
// rewrite their position files while they run), the instrument list and the PC's monitors; and the changes
// the view makes, each a step that Undo takes back byte for byte. Nothing is written while the panel runs.
class LayoutController : public QObject
{
    Q_OBJECT

public:
    LayoutController(const Platform& platform, Prompter& prompter, const Folders& folders, LoadedPanel& loaded,
                     std::function<bool()> running, QObject* parent = nullptr);

    const PanelLayout& layout() const { return m_layout; }
    bool readOnly() const { return m_running() || !m_layout.monitors.size() || !m_panelFolder; }
    const LayoutHistory& history() const { return m_history; }
    Prompter& prompter() const { return m_prompter; }
    bool running() const { return m_running(); }
    QString panelName() const;

    // Reads the files and the monitors again now (otherwise it happens shortly after a change is seen).
    void refresh();

    // Moves window `index` of the layout so that its top-left corner lies at `desktopPoint`, and writes its
    // position keys. Throws what the write throws; nothing changes then.
    void moveWindow(int index, QPoint desktopPoint);
    void undo();
    void redo();

    // The repair for the monitors the PC has now, not yet written.
    FitPlan planFit() const;
    // Writes the plan as one step of the history. False when there was nothing to change.
    bool applyFit(const FitPlan& plan);
    // At Start, when the user chose the repair: fits the loaded panel and reads its settings again.
    bool fitLoadedPanel();

    // Called when the panel starts or stops.
    void setRunning(bool running);
    // After a Stop by the user (not by the program's close): when a monitor change left windows of the panel on
    // no monitor while it ran, asks whether to fit the panel now.
    void offerPendingFit();

signals:
    void changed();
    // While the panel runs, a monitor change left `count` of its windows on no monitor.
    void windowsLost(int count);

private:
    void scheduleRefresh();
    void watchFiles();
    void onMonitorsChanged();
    void onPanelChanged();
    void reloadAfterStep();

    const Platform& m_platform;
    Prompter& m_prompter;
    const Folders& m_folders;
    LoadedPanel& m_loaded;
    std::function<bool()> m_running;
    std::optional<PanelFolder> m_panelFolder; // none without a loaded panel
    PanelLayout m_layout;
    LayoutHistory m_history;
    QFileSystemWatcher m_watcher;
    QTimer m_refresh;
    bool m_offerFitAfterStop = false;
};
