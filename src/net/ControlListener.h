#pragma once

#include "ControlDatagram.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QTimer>

#include <deque>
#include <memory>

class PanelOperations;
class QThread;
class QUdpSocket;
class RunControl;
class Session;

// Receives control datagrams on a thread of its own and carries out their "PNL" records on the thread that
// owns the session (the user-interface thread): stop, start, and switching to the panel named after the
// aircraft. A record's actions never run beside another operation: datagrams wait while a modal dialog is
// open, and a datagram that arrives while a record of ours shows a dialog waits until that record is done.
class ControlListener : public QObject
{
public:
    ControlListener(Session& session, PanelOperations& panels, RunControl& run, QObject* parent = nullptr);
    ~ControlListener() override;

    // Opens on the session's MulticastGroup and ListenPort. Throws for a group that is not a multicast
    // address and a port that is not a number; a port that cannot be bound or a group that cannot be joined
    // leaves the listener open but deaf, without a word.
    void StartControlListener();
    // Ends reception; datagrams received but not yet handled are dropped. Returns without waiting for the
    // user-interface thread, so it may be called from anywhere on it, a record's dialog included.
    void StopControlListener();

    bool isOpen() const { return m_open; }
    // What the socket achieved when it opened, and the port it is bound to.
    bool isBound() const { return m_bound; }
    bool isJoined() const { return m_joined; }
    quint16 boundPort() const { return m_boundPort; }

private:
    void received(const QByteArray& datagram);
    void handlePending();
    void handleRecord(const ControlRecord& record);
    void switchToAircraftPanel(const QString& aircraft);

    Session& m_session;
    PanelOperations& m_panels;
    RunControl& m_run;

    bool m_open = false;
    bool m_bound = false;
    bool m_joined = false;
    quint16 m_boundPort = 0;
    std::unique_ptr<QThread> m_thread;
    QObject* m_receiver = nullptr;  // lives in m_thread and owns the socket
    QUdpSocket* m_socket = nullptr; // touched on m_thread only
    QHostAddress m_group;

    std::deque<QByteArray> m_pending;
    bool m_handling = false;
    QTimer m_retry; // looks again once a modal dialog that held datagrams back may have closed
};
