#pragma once

#include "ControlDatagram.h"

#include "platform/MulticastSocket.h"

#include <QObject>

#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class QSocketNotifier;

// The records of datagrams received but not yet handled, passed from the listener thread to the user-interface
// thread in arrival order. It is bounded so that a flood costs no more memory than kByteBound and the one
// datagram that reached it: once full, the listener thread stops reading and further datagrams wait in the
// socket's own queue (or are dropped by the kernel when that overflows too, as they would be with nobody
// reading).
class ControlQueue
{
public:
    // What the queued datagrams may cost together: each is counted with its records' text and its entry, so a
    // flood of tiny datagrams is bounded as well as one of large ones.
    static constexpr qsizetype kByteBound = 256 * 1024;

    // Adds a datagram's records; true when the queue was empty, so the reader must be told. Once closed, the
    // records are dropped.
    bool push(std::vector<ControlRecord>&& records);
    // True (and the reader marked as paused) when the queue holds its bound, or is closed.
    bool pauseIfFull();
    // The oldest datagram's records; resumeReader is set when the reader paused and there is room again.
    std::optional<std::vector<ControlRecord>> pop(bool& resumeReader);
    // Empty, and open again.
    void clear();
    // Empty, and takes nothing more until cleared: the program is closing.
    void close();
    qsizetype bytes() const;

    // What a datagram's records count against the bound.
    static qsizetype costOf(const std::vector<ControlRecord>& records);

private:
    struct Entry
    {
        std::vector<ControlRecord> records;
        qsizetype cost;
    };

    mutable std::mutex m_mutex;
    std::deque<Entry> m_entries;
    qsizetype m_bytes = 0;
    bool m_readerPaused = false;
    bool m_closed = false;
};

// What the socket achieved when it opened: bound to a port, and joined to the group.
struct ControlSocketState
{
    bool bound = false;
    bool portInUse = false; // not bound, because another socket holds the port
    bool joined = false;
    quint16 port = 0;
};

// Lives on the listener thread and owns the socket: reads every datagram as soon as it arrives, parses it and
// queues its records, and says when the queue stops being empty. A datagram longer than the receive buffer
// is dropped whole: a record cut in two must not be obeyed in its cut form.
class ControlReceiver : public QObject
{
    Q_OBJECT

public:
    explicit ControlReceiver(std::shared_ptr<ControlQueue> queue);
    ~ControlReceiver() override;

    // group: the IPv4 address in host order.
    ControlSocketState open(quint16 port, quint32 group);
    void close();
    // Reads until the socket is empty or the queue is full.
    void readPending();

signals:
    void datagramsWaiting();

private:
    std::shared_ptr<ControlQueue> m_queue;
    std::unique_ptr<MulticastSocket> m_socket;
    QSocketNotifier* m_readable = nullptr;
};
