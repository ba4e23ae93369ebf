#include "ShellServices.h"

#include "Session.h"
#include "platform/Platform.h"

ShellServices::ShellServices(Session& s)
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

bool ShellServices::OpenPanel(LoadedPanel& panel, const QString& name)
{
    return panel.open(name, {.repair = true});
}

void ShellServices::SaveLoadedPanel(LoadedPanel& panel)
{
    panel.save();
}

void ShellServices::CreateProcessList()
{
    m_run.CreateProcessList();
}

void ShellServices::DestroyProcessList()
{
    m_run.DestroyProcessList();
}

void ShellServices::StartControlListener()
{
    m_listener.StartControlListener();
}

void ShellServices::StopControlListener()
{
    m_listener.StopControlListener();
}

void ShellServices::StartPanel()
{
    m_run.aStartPanelExecute();
}

void ShellServices::StopPanel()
{
    m_run.aStopPanelExecute();
}
