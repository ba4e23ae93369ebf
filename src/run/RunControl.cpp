#include "RunControl.h"

#include "MonitorCheck.h"
#include "app/Session.h"
#include "instruments/InstrumentListOps.h"
#include "net/AdapterChooser.h"
#include "net/LocalAddresses.h"
#include "platform/LocaleService.h"
#include "platform/Prompter.h"

#include <QScopeGuard>

namespace {

const QString AutoAddress = QStringLiteral("Auto");

} // namespace

RunControl::RunControl(Session& session, QObject* parent)
    : QObject(parent), m_session(session),
      m_desktop(*session.platform().power, *session.platform().systemCritical, session.platform().showDesktop)
{}

RunControl::~RunControl() = default;

void RunControl::CreateProcessList()
{
    m_closed = false;
    processes();
}

void RunControl::DestroyProcessList()
{
    m_closed = true;
    m_processes.reset();
}

RunningProcesses& RunControl::processes()
{
    if (!m_processes)
        m_processes = std::make_unique<RunningProcesses>(*m_session.platform().processes);
    return *m_processes;
}

bool RunControl::chooseLocalAddress()
{
    Session& s = m_session;
    QStringList addresses;
    ListLocalAddresses(*s.platform().addresses, addresses);
    if (addresses.isEmpty()) {
        s.prompter().message(MessageKind::Plain, QStringLiteral("Could not find a valid IP Address!"));
        return false;
    }
    if (addresses.size() == 1) {
        s.LocalIPAddressToUse = addresses.first();
        // With one adapter there is nothing to remember; a second adapter later asks again.
        s.settingsFile().SaveAdapterAddress(AutoAddress);
    } else if (s.LocalIPAddressToUse == AutoAddress) {
        const QString chosen = ChooseAdapter(s.prompter(), addresses);
        // Dismissed by the program's end: nobody chose, so nothing is stored.
        if (s.prompter().ending())
            return false;
        s.LocalIPAddressToUse = chosen;
        s.settingsFile().SaveAdapterAddress(s.LocalIPAddressToUse);
    }
    return true;
}

bool RunControl::monitorsAccepted()
{
    Session& s = m_session;
    if (!s.settings.MonitorChecking)
        return true;
    QString question;
    switch (CheckMonitorLayout(s.StartupLayout, s.CurrentPanel.Layout)) {
    case LayoutSame:
        return true;
    case LayoutCountDiffers:
        question = QStringLiteral(
            "Current number of monitors does not match the panel's configured number of monitors! - Continue?");
        break;
    case LayoutDimensionDiffers:
        question = QStringLiteral(
            "Current dimension of monitors does not match the panel's configured dimension of monitors! - Continue?");
        break;
    }
    return s.prompter().message(MessageKind::Warning, question, MessageButton::Yes | MessageButton::No,
                                MessageButton::No) == MessageButton::Yes;
}

void RunControl::aStartPanelExecute()
{
    Session& s = m_session;
    // The questions wait for the user; the program may have been closed, or be closing, meanwhile.
    if (!chooseLocalAddress() || !monitorsAccepted() || m_closed || s.prompter().ending())
        return;

    emit busyChanged(true);
    // The hourglass goes however Start ends.
    const auto normalCursor = qScopeGuard([this] { emit busyChanged(false); });
    SaveInstrumentList(s, s.CurrentPanel.Name);
    const bool declutter = s.settings.DeclutterDesktop;
    m_desktop.PrepareDesktop(declutter);
    try {
        emit minimizeRequested();
        // Empty in the editing state. Should a run never have been stopped, its children stay recorded so the
        // next Stop still ends them.
        RunningProcesses& running = processes();
        s.setRunningState(true);
        const LaunchValues values = LaunchValues::from(s.CurrentPanel, s.settings, s.LocalIPAddressToUse,
                                                       s.folders.AppPath, s.platform().locale->decimalSeparator());
        running.launchAll(PanelLaunchLines(values, s.instruments().rows()));
    } catch (...) {
        // A panel half started is no panel: end what runs, give the desktop back and stay in the editing state.
        processes().terminateAll();
        s.setRunningState(false);
        m_desktop.RestoreDesktop(declutter);
        throw;
    }
}

void RunControl::aStopPanelExecute()
{
    Session& s = m_session;
    // Drops the aircraft name a control datagram may have added.
    s.setDocumentName(s.CurrentPanel.Name);
    s.setRunningState(false);
    processes().terminateAll();
    m_desktop.RestoreDesktop(s.settings.DeclutterDesktop);
}
