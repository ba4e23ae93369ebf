#include "RemoteControl.h"

#include "AircraftRule.h"
#include "RecordLookahead.h"
#include "RunControl.h"
#include "net/ControlListener.h"
#include "panels/LoadedPanel.h"
#include "platform/Prompter.h"
#include "settings/AppSettings.h"
#include "settings/PanelFolders.h"

#include <QScopedValueRollback>

// The look-ahead's view of the panel files: the same search and the same reading as a switch uses.
class RemoteControl::Facts : public PanelFacts
{
public:
    explicit Facts(LoadedPanel& loaded) : m_loaded(loaded) {}

    std::optional<QString> find(const QString& aircraft) override { return m_loaded.panels().findContaining(aircraft); }
    std::optional<QString> loadedName(const QString& found) override
    {
        const std::optional<PanelContents> contents = m_loaded.read(found, {.report = false});
        if (!contents)
            return std::nullopt;
        return contents->record.Name;
    }

private:
    LoadedPanel& m_loaded;
};

RemoteControl::RemoteControl(Prompter& prompter, const AppSettings& settings, LoadedPanel& loaded, RunControl& run,
                             ControlListener& listener, QObject* parent)
    : QObject(parent), m_prompter(prompter), m_settings(settings), m_loaded(loaded), m_run(run), m_listener(listener)
{
    connect(&listener, &ControlListener::recordsWaiting, this, &RemoteControl::scheduleTurn);
    connect(&prompter, &Prompter::lastModalClosed, this, &RemoteControl::scheduleTurn);
}

void RemoteControl::handleWaiting()
{
    while (m_listener.delivering() && !m_listener.pending().empty())
        handleNext();
}

void RemoteControl::handleDatagram(const std::vector<ControlRecord>& records)
{
    m_listener.addPending(records);
    handleWaiting();
}

void RemoteControl::scheduleTurn()
{
    if (m_turnScheduled)
        return;
    m_turnScheduled = true;
    // Posted, so whatever else waits for the event loop (input, paint, a signal, a timer) comes first.
    QMetaObject::invokeMethod(this, &RemoteControl::turn, Qt::QueuedConnection);
}

bool RemoteControl::mayHandle() const
{
    // Not inside a record of ours still under way (its dialog's loop runs events), nor under a dialog of the
    // user's: the records wait until the last dialog closes, which calls again.
    return !m_handling && !m_prompter.modalOpen() && m_listener.delivering();
}

void RemoteControl::turn()
{
    m_turnScheduled = false;
    if (!mayHandle() || m_listener.pending().empty())
        return;
    handleNext();
    if (mayHandle() && !m_listener.pending().empty())
        scheduleTurn();
}

void RemoteControl::handleNext()
{
    const QScopedValueRollback handling(m_handling, true);
    const std::deque<PendingRecord>& pending = m_listener.pending();
    Facts facts(m_loaded);
    RecordForecast forecast(m_settings.PanelSwitching, m_settings.AutoStart, facts);
    RemoteState now;
    now.panelName = m_loaded.name();
    now.running = m_run.isRunning();
    now.caption = m_loaded.documentName();
    const qsizetype superseded = supersededRecords(now, pending, forecast, m_lookahead);
    m_listener.dropPending(superseded);
    if (superseded > 0)
        emit recordsPassedOver(superseded);

    // Taken off first: a close from within the record's dialog drops what waits, this one included.
    const PendingRecord next = pending.front();
    m_listener.dropPending(1);
    emit recordHandled(next.record);
    try {
        handleRecord(next.record);
    } catch (const std::exception&) {
        // Control datagrams never show a message: an error ends its datagram, the listener goes on.
        qsizetype rest = 0;
        while (rest < qsizetype(pending.size()) && pending[size_t(rest)].datagram == next.datagram)
            ++rest;
        m_listener.dropPending(rest);
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
        m_run.aStartPanelExecute();
        return;
    case ControlRecord::Aircraft:
        break;
    }
    const QString& aircraft = record.aircraft;
    m_loaded.setDocumentName(aircraftCaption(m_loaded.name(), aircraft));
    if (searchesForPanel(m_loaded.name(), m_run.isRunning(), m_settings.PanelSwitching, m_settings.AutoStart, aircraft))
        switchToAircraftPanel(aircraft);
}

void RemoteControl::switchToAircraftPanel(const QString& aircraft)
{
    const bool running = m_run.isRunning();
    const std::optional<QString> found = m_loaded.panels().findContaining(aircraft);
    if (!found)
        return;
    const PanelSwitch action = panelSwitch(*found, m_loaded.name(), running);
    if (action == PanelSwitch::None)
        return;
    // Read before anything changes: a panel that cannot be read leaves the loaded one as it is, running or not.
    std::optional<PanelContents> next = m_loaded.read(*found, {.report = false});
    if (!next)
        return;
    const QString caption = switchedCaption(*found, aircraft);
    if (action == PanelSwitch::ReloadAndStart) {
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
