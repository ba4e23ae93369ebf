#pragma once

#include "DesktopPreparation.h"
#include "RunningProcesses.h"
#include "net/FlightDataRelay.h"

#include <QObject>

#include <functional>
#include <memory>

class LoadedPanel;
class Prompter;
struct AppSettings;
struct Folders;
struct MonitorLayout;
struct Platform;

// Starting and stopping the loaded panel: the adapter and monitor questions, the desktop preparation, the
// switch between editing and running state and the panel's child programs.
class RunControl : public QObject
{
    Q_OBJECT

public:
    // localAddress: the adapter in use ("Auto" until chosen), updated by Start. startupLayout: the monitors
    // the PC had at start-up, which the panel's are checked against.
    RunControl(const Platform& platform, Prompter& prompter, const Folders& folders, const AppSettings& settings,
               QString& localAddress, const MonitorLayout& startupLayout, LoadedPanel& loaded,
               QObject* parent = nullptr);
    ~RunControl() override;

    void CreateProcessList();
    // Ends whatever is still recorded: no child outlives the program unreaped. The program is closing then,
    // so a Start still waiting in one of its dialogs ends without starting anything.
    void DestroyProcessList();

    // Nothing without a loaded panel or while one runs.
    void aStartPanelExecute();
    void aStopPanelExecute();

    const RunningProcesses* processList() const { return m_processes.get(); }
    // Runs while the panel runs; its statusChanged and status() are for a status line.
    const FlightDataRelay& relay() const { return m_relay; }

    // The repair the monitor check offers beside its question: fits the loaded panel to the PC's monitors and
    // says whether Start may go on. None: only the question is asked.
    void setMonitorRepair(std::function<bool()> fit) { m_fitMonitors = std::move(fit); }

    // From Start's launches until Stop, also while the launches are under way.
    bool isRunning() const { return m_running; }

signals:
    void runningChanged(bool running);
    void minimizeRequested();
    // True from the hourglass on until the launches are done; always followed by false.
    void busyChanged(bool busy);

private:
    bool chooseLocalAddress();
    bool monitorsAccepted();
    RunningProcesses& processes();
    void setRunning(bool running);

    const Platform& m_platform;
    Prompter& m_prompter;
    const Folders& m_folders;
    const AppSettings& m_settings;
    QString& m_localAddress;
    const MonitorLayout& m_startupLayout;
    LoadedPanel& m_loaded;
    DesktopPreparation m_desktop;
    FlightDataRelay m_relay;
    std::unique_ptr<RunningProcesses> m_processes;
    bool m_closed = false;
    bool m_running = false;
    std::function<bool()> m_fitMonitors;
};
