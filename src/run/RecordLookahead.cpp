#include "RecordLookahead.h"

#include "AircraftRule.h"
#include "StartRule.h"

#include <algorithm>

RecordForecast::RecordForecast(bool panelSwitching, bool autoStart, PanelFacts& facts)
    : m_panelSwitching(panelSwitching), m_autoStart(autoStart), m_facts(facts)
{}

std::optional<QString> RecordForecast::find(const QString& aircraft)
{
    auto it = m_found.constFind(aircraft);
    if (it == m_found.cend())
        it = m_found.insert(aircraft, m_facts.find(aircraft));
    return *it;
}

RecordForecast::Load RecordForecast::load(const QString& found)
{
    auto it = m_loads.constFind(found);
    if (it != m_loads.cend())
        return *it;
    Load outcome = Load::Unknown;
    try {
        const std::optional<QString> name = m_facts.loadedName(found);
        outcome = !name ? Load::Gone : *name == found ? Load::Loads : Load::Unknown;
    } catch (...) {
    }
    m_loads.insert(found, outcome);
    return outcome;
}

std::optional<RemoteState> RecordForecast::after(RemoteState s, const ControlRecord& record)
{
    // Writing the rows loaded before the look is the one save that can change what a file holds: every
    // other save writes back rows just read from the same panel's file.
    const auto save = [&s] {
        if (!s.panelName.isEmpty() && s.rowsFrom.isEmpty())
            s.firstRowsSaved = true;
    };
    switch (record.kind) {
    case ControlRecord::Stop:
        if (s.running) {
            s.running = false;
            s.caption = s.panelName;
        }
        return s;
    case ControlRecord::Start:
        if (canStart(s.running, !s.panelName.isEmpty())) {
            save();
            s.running = true;
        }
        return s;
    case ControlRecord::Aircraft:
        break;
    }
    const QString& aircraft = record.aircraft;
    s.caption = aircraftCaption(s.panelName, aircraft);
    if (!searchesForPanel(s.panelName, s.running, m_panelSwitching, m_autoStart, aircraft))
        return s;
    const std::optional<QString> found = find(aircraft);
    if (!found)
        return s;
    const PanelSwitch action = panelSwitch(*found, s.panelName, s.running);
    if (action == PanelSwitch::None)
        return s;
    switch (load(*found)) {
    case Load::Gone:
        return s;
    case Load::Unknown:
        return std::nullopt;
    case Load::Loads:
        break;
    }
    if (action == PanelSwitch::ReloadAndStart) {
        if (s.rowsFrom.isEmpty())
            s.settingsReread = true;
    } else {
        save(); // leaving the panel
        s.panelName = *found;
        s.rowsFrom = *found;
        s.settingsReread = false;
    }
    s.caption = switchedCaption(*found, aircraft);
    save(); // Start
    s.running = true;
    return s;
}

qsizetype supersededRecords(const RemoteState& now, const std::deque<PendingRecord>& pending, RecordForecast& forecast,
                            qsizetype lookahead)
{
    // Why leaving records out is safe: once record k has been handled, the program is in the same state as
    // if every record before it had been handled too, so whatever comes after (later records, the user, a
    // close) meets the same program. The state compared holds all that later records and the end state
    // depend on: the loaded panel's name and rows, the running state and the caption. Files differ only in
    // the panels that a left-out switch would have loaded and started: their instrument lists would have
    // been written back as they were read, with the fields that every save takes from the settings.
    qsizetype skip = 0;
    RemoteState inOrder = now;
    const qsizetype n = std::min(qsizetype(pending.size()), lookahead);
    for (qsizetype k = 0; k < n; ++k) {
        const ControlRecord& record = pending[size_t(k)].record;
        std::optional<RemoteState> next = forecast.after(inOrder, record);
        if (!next)
            break;
        if (k > 0) {
            const std::optional<RemoteState> alone = forecast.after(now, record);
            if (alone && *alone == *next)
                skip = k;
        }
        if (record.kind != ControlRecord::Aircraft)
            break;
        inOrder = std::move(*next);
    }
    return skip;
}
