#pragma once

#include "ControlDatagram.h"
#include "ControlReceiver.h"
#include "OwnedThread.h"

#include <QObject>

#include <deque>
#include <memory>
#include <vector>

struct AppSettings;

// A record received and not yet handled, with the datagram it came in: an error in one record ends the rest
// of its datagram.
struct PendingRecord
{
    ControlRecord record;
    quint64 datagram;
};

// Receives control datagrams on a thread of its own and keeps their "PNL" records, in arrival order, for the
// thread that made it (the user-interface thread) to take. What the records mean, and when they are taken,
// is up to whoever listens to recordsWaiting.
class ControlListener : public QObject
{
    Q_OBJECT

public:
    explicit ControlListener(const AppSettings& settings, QObject* parent = nullptr);
    ~ControlListener() override;

    // Opens on the settings' MulticastGroup and ListenPort. Throws for a group that is not a multicast
    // address and a port that is not a number; a port that cannot be bound or a group that cannot be joined
    // leaves the listener open but deaf (or hearing unicast only): isBound(), isJoined() and portInUse() say
    // so, and stateChanged() is emitted either way.
    void StartControlListener();
    // Ends reception; records received but not yet handled are dropped. Never waits for the user-interface
    // thread, so it may be called from anywhere on it, a handler's dialog included.
    void StopControlListener();
    // A close was asked for: what waits is dropped and nothing more is handed over for the rest of the run,
    // so the close never waits behind the records and nothing they ask for changes what it saves. The socket
    // stays open until StopControlListener, deaf.
    void endDelivery();

    bool isOpen() const { return m_open; }
    // Open, and no close asked for: records are handed over.
    bool delivering() const { return m_open && !m_deliveryEnded; }
    // What the socket achieved at the last opening, and the port it is bound to; all cleared while closed.
    bool isBound() const { return m_socket.bound; }
    bool isJoined() const { return m_socket.joined; }
    bool portInUse() const { return m_socket.portInUse; }
    quint16 boundPort() const { return m_socket.port; }
    // Received but not yet taken from the listener thread: what the queue counts against its bound.
    qsizetype queuedBytes() const { return m_queue->bytes(); }

    // The records waiting to be handled, oldest first. Whole datagrams are taken from the listener thread's
    // queue while what waits here costs less than the queue's own bound, so the records to come can be looked
    // at without holding more than twice that. Always empty while not delivering.
    const std::deque<PendingRecord>& pending();
    // The first `count` pending records are done with: handled, skipped or dropped.
    void dropPending(qsizetype count);
    // Records that did not come over the network (a test, a benchmark): they wait behind those pending.
    void addPending(const std::vector<ControlRecord>& records);

signals:
    // Records wait that were not there before: take them with pending() when the time has come.
    void recordsWaiting();
    // Opened or closed: what isOpen(), isBound() and isJoined() say has changed.
    void stateChanged();

private:
    void takeQueued();

    const AppSettings& m_settings;
    bool m_open = false;
    bool m_deliveryEnded = false;
    ControlSocketState m_socket;
    std::shared_ptr<ControlQueue> m_queue = std::make_shared<ControlQueue>();
    std::deque<PendingRecord> m_pending;
    qsizetype m_pendingCost = 0;
    quint64 m_datagrams = 0;
    std::unique_ptr<ControlReceiver> m_receiver; // lives in m_thread and owns the socket
    OwnedThread m_thread;
};
