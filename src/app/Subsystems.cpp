#include "Subsystems.h"

#include "Session.h"
#include "platform/Platform.h"

Subsystems::Subsystems(Session& s)
    : m_session(s), m_panels(s.platform(), s.prompter(), s.folders, s.settings, s.loaded()),
      m_run(s.platform(), s.prompter(), s.folders, s.settings, s.LocalIPAddressToUse, s.StartupLayout, s.loaded()),
      m_instruments(s.platform(), s.prompter(), s.folders, s.settings, s.loaded().instruments(),
                    [&loaded = s.loaded()] { return loaded.name(); }),
      m_exchange(s.platform(), s.prompter(), s.folders, s.loaded()),
      m_sendTo(s.platform(), s.prompter(), s.folders, s.loaded()),
      m_layout(s.platform(), s.prompter(), s.folders, s.loaded(), [this] { return m_run.isRunning(); }),
      m_listener(s.settings), m_remote(s.prompter(), s.settings, s.loaded(), m_run, m_listener)
{
    QObject::connect(&m_run, &RunControl::runningChanged, &m_layout, &LayoutController::setRunning);
    m_run.setMonitorRepair([this] { return m_layout.fitLoadedPanel(); });
}

bool Subsystems::OpenPanel(LoadedPanel& panel, const QString& name)
{
    return panel.open(name, {.repair = true});
}

void Subsystems::SaveLoadedPanel(LoadedPanel& panel)
{
    panel.save();
}

void Subsystems::CreateProcessList()
{
    m_run.CreateProcessList();
}

void Subsystems::DestroyProcessList()
{
    m_run.DestroyProcessList();
}

void Subsystems::StartControlListener()
{
    m_listener.StartControlListener();
}

void Subsystems::StopControlListener()
{
    m_listener.StopControlListener();
}

void Subsystems::StartPanel()
{
    m_run.aStartPanelExecute();
}

void Subsystems::StopPanel()
{
    m_run.aStopPanelExecute();
}
