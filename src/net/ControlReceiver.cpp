#include "ControlReceiver.h"

#include <QSocketNotifier>

namespace {

constexpr qint64 kDatagramBuffer = 8192;
// Asked of the kernel so a burst is absorbed while a record runs; the kernel caps it at its own maximum.
constexpr int kSocketReceiveBuffer = 4 * 1024 * 1024;

} // namespace

bool ControlQueue::push(std::vector<ControlRecord>&& records)
{
    const qsizetype cost = costOf(records);
    std::lock_guard lock(m_mutex);
    if (m_closed)
        return false;
    const bool wasEmpty = m_entries.empty();
    m_entries.push_back({std::move(records), cost});
    m_bytes += cost;
    return wasEmpty;
}

bool ControlQueue::pauseIfFull()
{
    std::lock_guard lock(m_mutex);
    if (m_bytes < kByteBound && !m_closed)
        return false;
    m_readerPaused = true;
    return true;
}

std::optional<std::vector<ControlRecord>> ControlQueue::pop(bool& resumeReader)
{
    std::lock_guard lock(m_mutex);
    resumeReader = false;
    if (m_entries.empty())
        return std::nullopt;
    Entry entry = std::move(m_entries.front());
    m_entries.pop_front();
    m_bytes -= entry.cost;
    // Resumed at half the bound, so the reader is not woken for every single datagram taken.
    if (m_readerPaused && m_bytes <= kByteBound / 2) {
        m_readerPaused = false;
        resumeReader = true;
    }
    return std::move(entry.records);
}

void ControlQueue::clear()
{
    std::lock_guard lock(m_mutex);
    m_entries.clear();
    m_bytes = 0;
    m_readerPaused = false;
    m_closed = false;
}

void ControlQueue::close()
{
    std::lock_guard lock(m_mutex);
    m_entries.clear();
    m_bytes = 0;
    m_closed = true;
}

qsizetype ControlQueue::bytes() const
{
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

qsizetype ControlQueue::costOf(const std::vector<ControlRecord>& records)
{
    // The deque's slot and the vector's block, with some allowance for the allocator's own bookkeeping.
    qsizetype cost = qsizetype(sizeof(Entry)) + 32;
    for (const ControlRecord& r : records)
        cost += qsizetype(sizeof(ControlRecord)) + r.aircraft.size() * qsizetype(sizeof(QChar)) + 32;
    return cost;
}

ControlReceiver::ControlReceiver(std::shared_ptr<ControlQueue> queue) : m_queue(std::move(queue)) {}

ControlReceiver::~ControlReceiver()
{
    close();
}

ControlSocketState ControlReceiver::open(quint16 port, quint32 group)
{
    close();
    ControlSocketState state;
    auto socket = std::make_unique<MulticastSocket>();
    state.bound = socket->bind(port);
    if (!state.bound) {
        state.portInUse = socket->portInUse();
        return state;
    }
    state.port = socket->localPort();
    socket->requestReceiveBuffer(kSocketReceiveBuffer);
    // On the default interface: the adapter chosen for the instruments plays no part here.
    state.joined = socket->join(group);
    m_socket = std::move(socket);
    m_readable = new QSocketNotifier(m_socket->descriptor(), QSocketNotifier::Read, this);
    connect(m_readable, &QSocketNotifier::activated, this, &ControlReceiver::readPending);
    return state;
}

void ControlReceiver::close()
{
    delete m_readable;
    m_readable = nullptr;
    m_socket.reset();
}

void ControlReceiver::readPending()
{
    if (!m_socket)
        return;
    m_readable->setEnabled(true);
    char buffer[kDatagramBuffer];
    // One receive call per datagram, until the socket is empty: as fast as a bare receive loop.
    while (!m_queue->pauseIfFull()) {
        const qint64 size = m_socket->receive(buffer, sizeof buffer);
        if (size < 0)
            return; // empty, or a receive error: the next notification tries again
        if (size > kDatagramBuffer)
            continue;
        std::vector<ControlRecord> records;
        try {
            records = ParseControlDatagram(QByteArray::fromRawData(buffer, size));
        } catch (const std::exception&) {
            continue; // control datagrams never show a message; the listener goes on
        }
        // A datagram without "PNL" records asks for nothing.
        if (!records.empty() && m_queue->push(std::move(records)))
            emit datagramsWaiting();
    }
    // The queue is full: datagrams wait in the socket until the queue has room and calls again.
    m_readable->setEnabled(false);
}
