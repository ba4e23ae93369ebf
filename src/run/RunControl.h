#pragma once

#include "DesktopPreparation.h"
#include "RunningProcesses.h"

#include <QObject>

#include <memory>

class Session;

// Starting and stopping the loaded panel: the adapter and monitor questions, the desktop preparation, the
// switch between editing and running state and the panel's child programs.
class RunControl : public QObject
{
    Q_OBJECT

public:
    explicit RunControl(Session& session, QObject* parent = nullptr);
    ~RunControl() override;

    void CreateProcessList();
    // Ends whatever is still recorded: no child outlives the program unreaped. The program is closing then,
    // so a Start still waiting in one of its dialogs ends without starting anything.
    void DestroyProcessList();

    void aStartPanelExecute();
    void aStopPanelExecute();

    const RunningProcesses* processList() const { return m_processes.get(); }

signals:
    void minimizeRequested();
    // True from the hourglass on until the launches are done; always followed by false.
    void busyChanged(bool busy);

private:
    bool chooseLocalAddress();
    bool monitorsAccepted();
    RunningProcesses& processes();

    Session& m_session;
    DesktopPreparation m_desktop;
    std::unique_ptr<RunningProcesses> m_processes;
    bool m_closed = false;
};
