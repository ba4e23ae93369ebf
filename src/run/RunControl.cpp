#include "RunControl.h"
#include "MonitorCheck.h"
#include "StartRule.h"
#include "net/AdapterChooser.h"
#include "net/LocalAddresses.h"
#include "panels/LoadedPanel.h"
#include "platform/LocaleService.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"
#include "settings/AppSettings.h"
#include "settings/Folders.h"

#include <QScopeGuard>

namespace {

const QString AutoAddress = QStringLiteral("Auto");

} // namespace

RunControl::RunControl(const Platform& platform, Prompter& prompter, const Folders& folders,
                       const AppSettings& settings, QString& localAddress, const MonitorLayout& startupLayout,
                       LoadedPanel& loaded, QObject* parent)
    : QObject(parent), m_platform(platform), m_prompter(prompter), m_folders(folders), m_settings(settings),
      m_localAddress(localAddress), m_startupLayout(startupLayout), m_loaded(loaded),
      m_desktop(*platform.power, *platform.systemCritical, platform.showDesktop)
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
    m_relay.stop();
}

RunningProcesses& RunControl::processes()
{
    if (!m_processes)
        m_processes = std::make_unique<RunningProcesses>(*m_platform.processes);
    return *m_processes;
}

void RunControl::setRunning(bool running)
{
    if (running == m_running)
        return;
    m_running = running;
    emit runningChanged(running);
}

bool RunControl::chooseLocalAddress()
{
    QStringList addresses;
    ListLocalAddresses(*m_platform.addresses, addresses);
    if (addresses.isEmpty()) {
        m_prompter.message(MessageKind::Plain, QStringLiteral("Could not find a valid IP Address!"));
        return false;
    }
    AppSettingsFile settingsFile(*m_platform.ini, m_folders.SettingsFileName());
    if (addresses.size() == 1) {
        m_localAddress = addresses.first();
        // With one adapter there is nothing to remember; a second adapter later asks again.
        settingsFile.SaveAdapterAddress(AutoAddress);
    } else if (m_localAddress == AutoAddress) {
        const QString chosen = ChooseAdapter(m_prompter, addresses);
        // Dismissed by the program's end: nobody chose, so nothing is stored.
        if (m_prompter.ending())
            return false;
        m_localAddress = chosen;
        settingsFile.SaveAdapterAddress(m_localAddress);
    }
    return true;
}

bool RunControl::monitorsAccepted()
{
    if (!m_settings.MonitorChecking)
        return true;
    QString question;
    switch (CheckMonitorLayout(m_startupLayout, m_loaded.record().Layout)) {
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
    MessageButtons buttons = MessageButton::Yes | MessageButton::No;
    if (m_fitMonitors)
        buttons |= MessageButton::FitToMonitors;
    const MessageButton answer = m_prompter.message(MessageKind::Warning, question, buttons, MessageButton::No);
    if (answer == MessageButton::FitToMonitors)
        return m_fitMonitors();
    return answer == MessageButton::Yes;
}

void RunControl::aStartPanelExecute()
{
    // Whoever asks (the ribbon, a control record, the command line), Start needs a panel and none running.
    if (!canStart(m_running, m_loaded.isLoaded()))
        return;
    // The questions wait for the user; the program may have been closed, or be closing, meanwhile.
    if (!chooseLocalAddress() || !monitorsAccepted() || m_closed || m_prompter.ending())
        return;

    emit busyChanged(true);
    // The hourglass goes however Start ends.
    const auto normalCursor = qScopeGuard([this] { emit busyChanged(false); });
    m_loaded.save();
    const bool declutter = m_settings.DeclutterDesktop;
    m_desktop.PrepareDesktop(declutter);
    try {
        emit minimizeRequested();
        // Empty in the editing state. Should a run never have been stopped, its children stay recorded so the
        // next Stop still ends them.
        RunningProcesses& running = processes();
        setRunning(true);
        const LaunchValues values = LaunchValues::from(m_loaded.record(), m_settings, m_localAddress, m_folders.AppPath,
                                                       m_platform.locale->decimalSeparator());
        // Before the gauges, so they find it from their first moment. A relay that cannot run costs only the
        // unicast flight data; the panel starts all the same and the relay's status says why.
        ChildVariables variables;
        if (m_relay.start(m_settings.RelayPort, m_settings.FlightSimPort))
            variables.emplace_back(QString::fromLatin1(FlightDataRelay::PortVariable),
                                   QString::number(m_relay.status().port));
        running.launchAll(PanelLaunchLines(values, m_loaded.instruments().rows()), variables);
    } catch (...) {
        // A panel half started is no panel: end what runs, give the desktop back and stay in the editing state.
        processes().terminateAll();
        m_relay.stop();
        setRunning(false);
        m_desktop.RestoreDesktop(declutter);
        throw;
    }
}

void RunControl::aStopPanelExecute()
{
    // Drops the aircraft name a control datagram may have added.
    m_loaded.setDocumentName(m_loaded.name());
    setRunning(false);
    processes().terminateAll();
    m_relay.stop();
    m_desktop.RestoreDesktop(m_settings.DeclutterDesktop);
}
