#pragma once

#include "net/ControlListener.h"

#include <QHash>
#include <QString>

#include <deque>
#include <optional>

// The part of the program's state that control records change and that decides what later records do. The
// loaded rows and settings are told apart by where they came from rather than by their content.
struct RemoteState
{
    QString panelName;
    bool running = false;
    QString caption;
    // The folder a switch read the loaded rows from; empty while the rows loaded before the look are in place
    // (they may hold edits not yet saved).
    QString rowsFrom;
    bool settingsReread = false; // the first panel's settings were read again, its rows staying
    bool firstRowsSaved = false; // the rows loaded before the look were written to their file

    bool operator==(const RemoteState&) const = default;
};

// What the panel files say, as far as the look-ahead needs to know.
class PanelFacts
{
public:
    virtual ~PanelFacts() = default;
    // The panel the aircraft search finds, or nothing.
    virtual std::optional<QString> find(const QString& aircraft) = 0;
    // The name the found panel carries once loaded; nothing when its folder has gone. Throws when its files
    // cannot be read.
    virtual std::optional<QString> loadedName(const QString& found) = 0;
};

// Foretells what a control record does to a RemoteState, as the handler would do it with the switches of the
// moment, asking each panel fact once. It assumes that saves, stops and starts succeed, as they do unless the
// disk, a child program or the user's answer to a question says otherwise.
class RecordForecast
{
public:
    RecordForecast(bool panelSwitching, bool autoStart, PanelFacts& facts);

    // The state after the record; nothing where it cannot be told: a panel whose files cannot be read (the
    // record would end its datagram with an error), or one whose settings name another panel than its folder
    // (its saves would go to that other panel's files).
    std::optional<RemoteState> after(RemoteState state, const ControlRecord& record);

private:
    enum class Load
    {
        Gone,
        Loads,
        Unknown,
    };
    std::optional<QString> find(const QString& aircraft);
    Load load(const QString& found);

    const bool m_panelSwitching;
    const bool m_autoStart;
    PanelFacts& m_facts;
    QHash<QString, std::optional<QString>> m_found;
    QHash<QString, Load> m_loads;
};

// How many of the first pending records can be left out because a later aircraft record undoes all they
// would do: the largest k such that handling records 0..k in order ends in the same state as handling record
// k alone, with records 0..k-1 all aircraft records. Start and Stop records are never left out and nothing
// is looked at beyond them; at most `lookahead` records are looked at.
qsizetype supersededRecords(const RemoteState& now, const std::deque<PendingRecord>& pending, RecordForecast& forecast,
                            qsizetype lookahead);
