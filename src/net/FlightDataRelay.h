#pragma once

#include "OwnedThread.h"

#include <QObject>
#include <QString>

#include <memory>

class RelayForwarder;
struct RelayCounters;

// What a status line shows of the relay.
struct FlightDataRelayStatus
{
    bool running = false;
    quint16 port = 0;      // the port it receives on, while it runs
    int gauges = 0;        // gauges that asked for the data in the last few seconds
    quint64 forwarded = 0; // datagrams sent on to the gauges since it started
    QString problem;       // why it does not run when it was asked to; empty otherwise
};

// Hands flight data that reaches this PC by unicast to every gauge on it. A unicast datagram to the
// simulator port reaches only one of the sockets that share that port, so the simulator side sends unicast
// flight data to the relay's own port instead; each gauge asks for the data from a loopback socket of its
// own (it learns the port from the environment variable below) and gets a copy of every datagram there.
// Multicast to the simulator port is left alone: gauges that never ask still receive it as before.
//
// Forwarding runs on a thread of its own, so a dialog on the user-interface thread never holds up the
// gauges' data.
class FlightDataRelay : public QObject
{
    Q_OBJECT

public:
    // Set in the environment of the programs a running panel starts: the relay's port on 127.0.0.1.
    static constexpr const char* PortVariable = "VARNOLT_RELAY_PORT";

    explicit FlightDataRelay(QObject* parent = nullptr);
    ~FlightDataRelay() override;

    // portSetting: RelayPort as the settings file has it, "0" for no relay. flightSimPort: the simulator
    // port, which the gauges must be able to share. False, with the reason in status(), when it does not run.
    bool start(const QString& portSetting, const QString& flightSimPort);
    // Closes the port. Never waits for the user-interface thread.
    void stop();

    bool isRunning() const { return m_port != 0; }
    FlightDataRelayStatus status() const;

signals:
    // Started, stopped, or the number of gauges changed. The forwarded count changes too often for a
    // signal: read it from status() when showing it.
    void statusChanged();

private:
    void fail(const QString& problem);
    void closeThread();

    quint16 m_port = 0;
    QString m_problem;
    std::shared_ptr<RelayCounters> m_counters;
    std::unique_ptr<RelayForwarder> m_forwarder; // lives in m_thread and owns the socket
    OwnedThread m_thread;
};
