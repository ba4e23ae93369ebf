#include "RemoteControl.h"

#include "RunControl.h"
#include "app/Session.h"
#include "net/ControlListener.h"
#include "panels/PanelOperations.h"
#include "platform/Prompter.h"

RemoteControl::RemoteControl(Session& session, PanelOperations& panels, RunControl& run, ControlListener& listener,
                             QObject* parent)
    : QObject(parent), m_session(session), m_panels(panels), m_run(run), m_listener(listener)
{
    Prompter& prompter = session.prompter();
    listener.setDeliveryGate([&prompter] { return !prompter.modalOpen(); });
    connect(&prompter, &Prompter::lastModalClosed, &listener, &ControlListener::resumeDelivery);
    connect(&listener, &ControlListener::datagramReceived, this, &RemoteControl::handleDatagram);
}

void RemoteControl::handleDatagram(const std::vector<ControlRecord>& records)
{
    try {
        for (const ControlRecord& record : records) {
            // Closed from within a record's dialog: the program is ending.
            if (!m_listener.isOpen())
                return;
            handleRecord(record);
        }
    } catch (const std::exception&) {
        // Control datagrams never show a message: an error ends the datagram, the listener goes on.
    }
}

void RemoteControl::handleRecord(const ControlRecord& record)
{
    Session& s = m_session;
    switch (record.kind) {
    case ControlRecord::Stop:
        if (s.actions().stopEnabled)
            m_run.aStopPanelExecute();
        return;
    case ControlRecord::Start:
        if (s.actions().startEnabled)
            m_run.aStartPanelExecute();
        return;
    case ControlRecord::Aircraft:
        break;
    }
    const QString& aircraft = record.aircraft;
    s.setDocumentName(s.CurrentPanel.Name + QStringLiteral(" (") + aircraft + u')');
    if (aircraft.isEmpty() || s.CurrentPanel.Name.contains(aircraft, Qt::CaseSensitive))
        return;
    // Running, the aircraft flown has changed; idle, a panel starts only when asked to start with the simulator.
    if (s.settings.PanelSwitching && (s.isRunning() || s.settings.AutoStart))
        switchToAircraftPanel(aircraft);
}

void RemoteControl::switchToAircraftPanel(const QString& aircraft)
{
    Session& s = m_session;
    LoadedPanel& loaded = s.loaded();
    const bool running = s.isRunning();
    const std::optional<QString> found = m_panels.lookup(aircraft, true);
    if (!found)
        return;
    // Read before anything changes: a panel that cannot be read leaves the loaded one as it is, running or not.
    std::optional<PanelContents> next = loaded.read(*found, {.report = false});
    // The bare folder "Panel_" is no panel; the panel for this aircraft may run already and goes on undisturbed.
    if (!next || found->isEmpty() || (running && *found == s.CurrentPanel.Name))
        return;
    const QString caption = *found + u'(' + aircraft + u')';
    if (*found == s.CurrentPanel.Name) {
        // The same panel, idle: its settings are read again and its rows stay as the user left them.
        loaded.reloadSettings();
        loaded.setDocumentName(caption);
    } else {
        // Leaving a panel keeps its rows, as Load and New do.
        loaded.leave();
        if (running)
            m_run.aStopPanelExecute();
        next->documentName = caption;
        loaded.commit(std::move(*next));
    }
    // Should Start be refused by a question, the panel now loaded can still be started by hand.
    s.UpdateStartEnabled(*found);
    m_run.aStartPanelExecute();
}
