#include "RelayForwarder.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>

namespace {

constexpr qint64 kDatagramBuffer = 8192;
// A burst from the network waits here while the thread sends the copies of the datagram before it.
constexpr int kSocketReceiveBuffer = 1024 * 1024;
// Datagrams handled per wake-up. A flood can keep the socket full for good; returning to the event loop
// between batches lets a stop asked for by the user-interface thread through (the notifier wakes us again
// at once while anything is left).
constexpr int kDatagramsPerWakeUp = 64;

} // namespace

bool RelaySubscribers::renew(const DatagramEndpoint& gauge, Clock::time_point now)
{
    for (Entry& e : m_entries) {
        if (e.endpoint == gauge) {
            e.renewed = now;
            return true;
        }
    }
    if (count() >= limit)
        return false;
    m_entries.push_back({gauge, now});
    return true;
}

bool RelaySubscribers::expire(Clock::time_point now)
{
    return std::erase_if(m_entries, [now](const Entry& e) { return now - e.renewed > lifetime; }) > 0;
}

bool RelaySubscribers::contains(const DatagramEndpoint& endpoint) const
{
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.endpoint == endpoint; });
}

RelayDatagram classifyRelayDatagram(QByteArrayView data, const DatagramEndpoint& from, quint16 relayPort,
                                    const RelaySubscribers& subscribers)
{
    // The port is ours alone, so this can only be a copy we sent ourselves.
    if (from.isLoopback() && from.port == relayPort)
        return RelayDatagram::Ignore;
    if (data == RelaySubscribeText)
        // Only gauges on this PC: a request from the network would make us send to whoever it names.
        return from.isLoopback() ? RelayDatagram::Subscribe : RelayDatagram::Ignore;
    if (subscribers.contains(from))
        return RelayDatagram::Ignore;
    return RelayDatagram::Forward;
}

RelayForwarder::RelayForwarder(std::shared_ptr<RelayCounters> counters) : m_counters(std::move(counters)) {}

RelayForwarder::~RelayForwarder()
{
    close();
}

quint16 RelayForwarder::open(quint16 port, QString& error)
{
    close();
    auto socket = std::make_unique<DatagramSocket>();
    if (!socket->bind(port)) {
        error = socket->errorString();
        return 0;
    }
    socket->requestReceiveBuffer(kSocketReceiveBuffer);
    m_port = socket->localPort();
    m_socket = std::move(socket);
    m_readable = new QSocketNotifier(m_socket->descriptor(), QSocketNotifier::Read, this);
    connect(m_readable, &QSocketNotifier::activated, this, &RelayForwarder::readPending);
    // Gauges that ended stop asking; the count drops even while no data comes.
    m_expiry = new QTimer(this);
    m_expiry->setInterval(1000);
    connect(m_expiry, &QTimer::timeout, this, &RelayForwarder::expire);
    m_expiry->start();
    return m_port;
}

void RelayForwarder::close()
{
    delete m_readable;
    m_readable = nullptr;
    delete m_expiry;
    m_expiry = nullptr;
    m_socket.reset();
    m_subscribers = {};
    m_counters->gauges = 0;
}

void RelayForwarder::expire()
{
    if (m_subscribers.expire(RelaySubscribers::Clock::now())) {
        m_counters->gauges = m_subscribers.count();
        emit gaugesChanged();
    }
}

void RelayForwarder::readPending()
{
    if (!m_socket)
        return;
    char buffer[kDatagramBuffer];
    DatagramEndpoint from;
    qint64 size;
    // One receive call per datagram, until the socket is empty or the batch is done.
    for (int n = 0; n < kDatagramsPerWakeUp && (size = m_socket->receive(buffer, sizeof buffer, from)) >= 0; ++n) {
        const QByteArrayView data(buffer, size);
        switch (classifyRelayDatagram(data, from, m_port, m_subscribers)) {
        case RelayDatagram::Subscribe: {
            const int before = m_subscribers.count();
            m_subscribers.renew(from, RelaySubscribers::Clock::now());
            if (m_subscribers.count() != before) {
                m_counters->gauges = m_subscribers.count();
                emit gaugesChanged();
            }
            break;
        }
        case RelayDatagram::Forward:
            if (m_subscribers.count() == 0)
                break;
            // A gauge whose queue is full misses this copy, as it would miss a multicast datagram.
            m_subscribers.forEach([&](const DatagramEndpoint& gauge) { m_socket->send(buffer, size, gauge); });
            ++m_counters->forwarded;
            break;
        case RelayDatagram::Ignore:
            break;
        }
    }
}
