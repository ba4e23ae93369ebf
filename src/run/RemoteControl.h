#pragma once

#include "net/ControlDatagram.h"

#include <QObject>

#include <vector>

class ControlListener;
class LoadedPanel;
class Prompter;
class RunControl;
struct AppSettings;

// What the control records ask for, carried out on the user-interface thread as if the user had asked: stop,
// start, and switching to the panel named after the aircraft now flown. One record is handled per turn of the
// event loop, so repaints, the user's clicks and a close get through between records however many wait.
// Records wait while a dialog is open, so a panel is never stopped or switched under the user's own
// operation. Aircraft records whose effect a later one undoes are left out (see supersededRecords).
class RemoteControl : public QObject
{
    Q_OBJECT

public:
    RemoteControl(Prompter& prompter, const AppSettings& settings, LoadedPanel& loaded, RunControl& run,
                  ControlListener& listener, QObject* parent = nullptr);

    // Handles every waiting record now rather than one per turn: for tests and benchmarks, which need not
    // wait for the event loop. Nothing while the listener does not deliver.
    void handleWaiting();
    // The same, after adding the records as if they had come in one datagram.
    void handleDatagram(const std::vector<ControlRecord>& records);

    // How many waiting records are looked at, at most, to find those a later one supersedes; 1 handles
    // every record.
    void setLookahead(qsizetype records) { m_lookahead = records; }
    static constexpr qsizetype kLookahead = 4096;

signals:
    // A record is about to be carried out; for a status line and the log, which must do no more per record
    // than note it.
    void recordHandled(const ControlRecord& record);
    // Records left out because a later one undoes them.
    void recordsPassedOver(qsizetype count);

private:
    class Facts;

    void scheduleTurn();
    void turn();
    bool mayHandle() const;
    void handleNext();
    void handleRecord(const ControlRecord& record);
    void switchToAircraftPanel(const QString& aircraft);

    Prompter& m_prompter;
    const AppSettings& m_settings;
    LoadedPanel& m_loaded;
    RunControl& m_run;
    ControlListener& m_listener;
    qsizetype m_lookahead = kLookahead;
    bool m_turnScheduled = false;
    bool m_handling = false;
};
