#pragma once

#include "ControlDatagram.h"
#include "ControlReceiver.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

struct AppSettings;
class QThread;

// Receives control datagrams on a thread of its own and hands their "PNL" records, one datagram at a time and
// in arrival order, to the thread that made it (the user-interface thread). What the records mean is up to
// whoever connects to datagramReceived.
class ControlListener : public QObject
{
    Q_OBJECT

public:
    explicit ControlListener(const AppSettings& settings, QObject* parent = nullptr);
    ~ControlListener() override;

    // Opens on the settings' MulticastGroup and ListenPort. Throws for a group that is not a multicast
    // address and a port that is not a number; a port that cannot be bound or a group that cannot be joined
    // leaves the listener open but deaf, without a word.
    void StartControlListener();
    // Ends reception; datagrams received but not yet handled are dropped. Never waits for the user-interface
    // thread, so it may be called from anywhere on it, a handler's dialog included.
    void StopControlListener();

    bool isOpen() const { return m_open; }
    // What the socket achieved at the last opening, and the port it is bound to; all cleared while closed.
    bool isBound() const { return m_socket.bound; }
    bool isJoined() const { return m_socket.joined; }
    quint16 boundPort() const { return m_socket.port; }
    // Received but not yet handed over: what the queue counts against its bound.
    qsizetype queuedBytes() const { return m_queue->bytes(); }

    // Asked before each datagram is handed over; while it says no, datagrams wait (within the queue's bound).
    void setDeliveryGate(std::function<bool()> mayDeliver) { m_mayDeliver = std::move(mayDeliver); }
    // Hands over what waits, once the gate may have opened again.
    void resumeDelivery() { deliver(); }

signals:
    // One datagram's records. A handler that opens a dialog holds later datagrams back until it returns.
    void datagramReceived(const std::vector<ControlRecord>& records);

private:
    struct QuitAndWait
    {
        void operator()(QThread* thread) const;
    };

    void deliver();

    const AppSettings& m_settings;
    bool m_open = false;
    bool m_delivering = false;
    ControlSocketState m_socket;
    std::function<bool()> m_mayDeliver;
    std::shared_ptr<ControlQueue> m_queue = std::make_shared<ControlQueue>();
    std::unique_ptr<ControlReceiver> m_receiver; // lives in m_thread and owns the socket
    std::unique_ptr<QThread, QuitAndWait> m_thread;
};
