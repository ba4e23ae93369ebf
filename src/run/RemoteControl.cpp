#include "RemoteControl.h"

#include "RunControl.h"
#include "StartRule.h"
#include "app/AppSettings.h"
#include "net/ControlListener.h"
#include "panels/LoadedPanel.h"
#include "panels/PanelOperations.h"
#include "platform/Prompter.h"

RemoteControl::RemoteControl(Prompter& prompter, const AppSettings& settings, LoadedPanel& loaded,
                             PanelOperations& panels, RunControl& run, ControlListener& listener, QObject* parent)
    : QObject(parent), m_settings(settings), m_loaded(loaded), m_panels(panels), m_run(run), m_listener(listener)
{
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
    switch (record.kind) {
    case ControlRecord::Stop:
        if (m_run.isRunning())
            m_run.aStopPanelExecute();
        return;
    case ControlRecord::Start:
        // As the Start button.
        if (canStart(m_run.isRunning(), m_loaded.isLoaded()))
            m_run.aStartPanelExecute();
        return;
    case ControlRecord::Aircraft:
        break;
    }
    const QString& aircraft = record.aircraft;
    m_loaded.setDocumentName(m_loaded.name() + QStringLiteral(" (") + aircraft + u')');
    if (aircraft.isEmpty() || m_loaded.name().contains(aircraft, Qt::CaseSensitive))
        return;
    // Running, the aircraft flown has changed; idle, a panel starts only when asked to start with the simulator.
    if (m_settings.PanelSwitching && (m_run.isRunning() || m_settings.AutoStart))
        switchToAircraftPanel(aircraft);
}

void RemoteControl::switchToAircraftPanel(const QString& aircraft)
{
    const bool running = m_run.isRunning();
    const std::optional<QString> found = m_panels.lookup(aircraft, true);
    if (!found)
        return;
    // Read before anything changes: a panel that cannot be read leaves the loaded one as it is, running or not.
    std::optional<PanelContents> next = m_loaded.read(*found, {.report = false});
    // The bare folder "Panel_" is no panel; the panel for this aircraft may run already and goes on undisturbed.
    if (!next || found->isEmpty() || (running && *found == m_loaded.name()))
        return;
    const QString caption = *found + u'(' + aircraft + u')';
    if (*found == m_loaded.name()) {
        // The same panel, idle: its settings are read again and its rows stay as the user left them.
        m_loaded.reloadSettings();
        m_loaded.setDocumentName(caption);
    } else {
        // Leaving a panel keeps its rows, as Load and New do.
        m_loaded.leave();
        if (running)
            m_run.aStopPanelExecute();
        next->documentName = caption;
        m_loaded.commit(std::move(*next));
    }
    m_run.aStartPanelExecute();
}
