#include "ProgramStatus.h"

#include "net/ControlListener.h"
#include "panels/LoadedPanel.h"
#include "run/RemoteControl.h"
#include "run/RunControl.h"
#include "settings/AppSettings.h"

ProgramStatus::ProgramStatus(const AppSettings& settings, const ControlListener& listener, RemoteControl& remote,
                             RunControl& run, LoadedPanel& loaded, QObject* parent)
    : QObject(parent), m_settings(settings), m_listener(listener), m_run(run), m_loaded(loaded)
{
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(250);
    connect(&m_refresh, &QTimer::timeout, this, &ProgramStatus::refresh);
    m_childPoll.setInterval(kChildPollMilliseconds);
    connect(&m_childPoll, &QTimer::timeout, this, &ProgramStatus::refresh);

    connect(&listener, &ControlListener::stateChanged, this, &ProgramStatus::refresh);
    connect(&remote, &RemoteControl::recordHandled, this, &ProgramStatus::noteRecord);
    connect(&run, &RunControl::runningChanged, this, [this](bool running) {
        running ? m_childPoll.start() : m_childPoll.stop();
        scheduleRefresh();
    });
    connect(&run.relay(), &FlightDataRelay::statusChanged, this, &ProgramStatus::scheduleRefresh);
    connect(&loaded, &LoadedPanel::changed, this, &ProgramStatus::scheduleRefresh);
    refresh();
}

void ProgramStatus::scheduleRefresh()
{
    if (!m_refresh.isActive())
        m_refresh.start();
}

void ProgramStatus::noteRecord(const ControlRecord& record)
{
    m_lastRecord = record;
    m_lastRecordTime = QTime::currentTime();
    if (record.kind == ControlRecord::Aircraft)
        m_aircraft = record.aircraft;
    scheduleRefresh();
}

void ProgramStatus::setSettingsProblem(const QString& problem)
{
    m_settingsProblem = problem;
    refresh();
}

void ProgramStatus::refresh()
{
    m_refresh.stop();
    StatusTexts texts;
    texts.listener = listenerText(&texts.listenerDetail, &texts.problem);
    if (!m_settingsProblem.isEmpty())
        texts.problem = texts.problem.isEmpty() ? m_settingsProblem : m_settingsProblem + u'\n' + texts.problem;
    texts.panel = panelText();
    texts.activity = activityText();
    if (texts == m_texts)
        return;
    m_texts = texts;
    emit changed(m_texts);
}

QString ProgramStatus::listenerText(QString* detail, QString* problem) const
{
    const QString group = m_settings.MulticastGroup;
    const QString port = m_settings.ListenPort;
    if (!m_listener.isOpen()) {
        *detail = QStringLiteral("Control records are not received: the listener is not open.");
        return QStringLiteral("Not listening");
    }
    if (!m_listener.isBound()) {
        if (m_listener.portInUse()) {
            *problem = QStringLiteral("Control port %1 is in use by another program (is Varnolt already running?): "
                                      "control records are not received.")
                           .arg(port);
            *detail = *problem;
            return QStringLiteral("Not listening: port %1 in use").arg(port);
        }
        *problem = QStringLiteral("Control port %1 cannot be opened: control records are not received.").arg(port);
        *detail = *problem;
        return QStringLiteral("Not listening: port %1").arg(port);
    }
    const QString bound = QString::number(m_listener.boundPort());
    if (!m_listener.isJoined()) {
        *problem = QStringLiteral("Multicast group %1 cannot be joined: only control records sent straight to "
                                  "this PC on port %2 are received.")
                       .arg(group, bound);
        *detail = *problem;
        return QStringLiteral("Listening %1 (no group)").arg(bound);
    }
    *detail = QStringLiteral("Listening for control records on group %1, port %2.").arg(group, bound);
    return QStringLiteral("Listening %1:%2").arg(group, bound);
}

QString ProgramStatus::panelText() const
{
    if (!m_loaded.isLoaded())
        return QStringLiteral("No panel loaded");
    if (!m_run.isRunning())
        return QStringLiteral("Stopped");
    const RunningProcesses* processes = m_run.processList();
    const int started = processes ? processes->count() : 0;
    const int alive = processes ? processes->aliveCount() : 0;
    return QStringLiteral("Running: %1 of %2 programs alive").arg(alive).arg(started);
}

QString ProgramStatus::activityText() const
{
    QStringList parts;
    if (m_lastRecord)
        parts << QStringLiteral("Last record %1 at %2")
                     .arg(ControlRecordText(*m_lastRecord), m_lastRecordTime.toString(QStringLiteral("HH:mm:ss")));
    else
        parts << QStringLiteral("No control record yet");
    if (!m_aircraft.isEmpty())
        parts << QStringLiteral("aircraft %1").arg(m_aircraft);
    const FlightDataRelayStatus relay = m_run.relay().status();
    if (relay.running)
        parts << QStringLiteral("relay on %1: %2 gauge(s)").arg(relay.port).arg(relay.gauges);
    else if (!relay.problem.isEmpty())
        parts << QStringLiteral("relay: %1").arg(relay.problem);
    return parts.join(QStringLiteral(" · "));
}
