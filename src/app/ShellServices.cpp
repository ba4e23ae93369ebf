#include "ShellServices.h"

#include "Session.h"
#include "instruments/InstrumentListOps.h"
#include "panels/PanelSettings.h"

ShellServices::ShellServices(Session& session)
    : m_session(session), m_panels(session), m_run(session), m_instruments(session), m_exchange(session, m_panels),
      m_sendTo(session), m_listener(session.settings), m_remote(session, m_panels, m_run, m_listener)
{}

bool ShellServices::OpenPanel(LoadedPanel& panel, const QString& name)
{
    return panel.open(name, {.repair = true});
}

void ShellServices::SaveInstrumentList(const QString& name)
{
    ::SaveInstrumentList(m_session, name);
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
