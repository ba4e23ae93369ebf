#pragma once

#include "net/ControlDatagram.h"

#include <QObject>
#include <QString>
#include <QTime>
#include <QTimer>

#include <optional>

class ControlListener;
class LoadedPanel;
class RemoteControl;
class RunControl;
struct AppSettings;

// What the main window's status line shows, as plain text.
struct StatusTexts
{
    QString listener;       // short: where control records are listened for, or that they are not
    QString listenerDetail; // the same in full, for a tool tip
    QString panel;          // the loaded panel's run state and how many of its programs are alive
    QString activity;       // the last control record and when, the aircraft, the flight data relay
    QString problem;        // why control records are not (all) received; empty when they are

    bool operator==(const StatusTexts&) const = default;
};

// Follows the listener, the control records handled, the running panel and its programs and the relay, and
// says in plain words what runs and what does not. A program of the panel that ends by itself is noticed by
// asking the system on a timer while the panel runs; records only bump a time stamp, and the texts are made
// again at most a few times a second, so a storm of records costs the window nothing.
class ProgramStatus : public QObject
{
    Q_OBJECT

public:
    ProgramStatus(const AppSettings& settings, const ControlListener& listener, RemoteControl& remote, RunControl& run,
                  LoadedPanel& loaded, QObject* parent = nullptr);

    const StatusTexts& texts() const { return m_texts; }
    // Makes the texts now rather than at the next timer tick: for tests.
    void refresh();
    // A fault found at start-up that the status line keeps saying, before any of the listener's.
    void setSettingsProblem(const QString& problem);

    static constexpr int kChildPollMilliseconds = 1000;

signals:
    void changed(const StatusTexts& texts);

private:
    void scheduleRefresh();
    void noteRecord(const ControlRecord& record);
    QString listenerText(QString* detail, QString* problem) const;
    QString panelText() const;
    QString activityText() const;

    const AppSettings& m_settings;
    const ControlListener& m_listener;
    RunControl& m_run;
    LoadedPanel& m_loaded;
    std::optional<ControlRecord> m_lastRecord;
    QTime m_lastRecordTime;
    QString m_aircraft;
    QString m_settingsProblem;
    StatusTexts m_texts;
    QTimer m_refresh;   // gathers many changes into one new text
    QTimer m_childPoll; // while a panel runs
};
