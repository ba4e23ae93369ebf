#include "RemoteControl.h"

#include "ControlListener.h"
#include "app/Prompter.h"
#include "app/Session.h"
#include "instruments/InstrumentListOps.h"
#include "panels/PanelOperations.h"
#include "panels/PanelSettings.h"
#include "run/RunControl.h"

#include <QScopeGuard>

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
    const bool running = s.isRunning();
    const std::vector<InstrumentRow> leftRows = s.instruments().rows();
    QString found;
    std::vector<InstrumentRow> foundRows;
    {
        // Until the switch is certain, the list shows the loaded panel's rows, edits included: also when the
        // found panel's list cannot be read, or the next save point would write it over the loaded panel's.
        auto keepLeftRows = qScopeGuard([&] { s.instruments().setRows(leftRows); });
        if (!m_panels.FindPanel(aircraft, false, true, found)) {
            keepLeftRows.dismiss(); // nothing was read, the list is untouched
            return;
        }
        foundRows = s.instruments().rows();
    }
    // The bare folder "Panel_" is no panel; the panel for this aircraft may run already and goes on undisturbed.
    if (found.isEmpty() || (running && found == s.CurrentPanel.Name))
        return;
    if (found != s.CurrentPanel.Name) {
        // Leaving a panel keeps its rows, as Load and New do.
        SaveInstrumentList(s, s.CurrentPanel.Name);
        s.instruments().setRows(foundRows);
    }
    if (running)
        m_run.aStopPanelExecute();
    s.CurrentPanel.Name = found;
    s.setDocumentName(found + u'(' + aircraft + u')');
    LoadPanelSettings(s, found);
    // Should Start be refused by a question, the panel now loaded can still be started by hand.
    s.UpdateStartEnabled(found);
    m_run.aStartPanelExecute();
}
