#pragma once

#include "platform/DatagramSocket.h"

#include <QByteArrayView>
#include <QObject>

#include <atomic>
#include <chrono>
#include <memory>
#include <vector>

class QSocketNotifier;
class QTimer;

// What a gauge sends, from the loopback socket it wants the flight data on, to ask for it (and to keep
// asking: a request lasts RelaySubscribers::lifetime).
inline constexpr QByteArrayView RelaySubscribeText = "SUBSCRIBE";

// The gauges that asked for the flight data, each by the loopback address and port it asked from. An entry
// lasts `lifetime` after its last request, so a gauge that ended drops out by itself.
class RelaySubscribers
{
public:
    using Clock = std::chrono::steady_clock;
    // Gauges ask every second; a few missed requests do not cut one off.
    static constexpr std::chrono::milliseconds lifetime{5000};
    // More than any panel has gauges; a local program asking from ever new ports cannot grow the table.
    static constexpr int limit = 256;

    // Adds the gauge or renews its entry; false when the table is full.
    bool renew(const DatagramEndpoint& gauge, Clock::time_point now);
    // Drops the entries not renewed in time; true when any went.
    bool expire(Clock::time_point now);
    bool contains(const DatagramEndpoint& endpoint) const;
    int count() const { return int(m_entries.size()); }
    template <typename F> void forEach(F&& f) const
    {
        for (const Entry& e : m_entries)
            f(e.endpoint);
    }

private:
    struct Entry
    {
        DatagramEndpoint endpoint;
        Clock::time_point renewed;
    };
    std::vector<Entry> m_entries;
};

enum class RelayDatagram
{
    Subscribe, // a gauge on this PC asks for the data
    Forward,   // flight data: every gauge gets a copy
    Ignore,
};

// What to do with a datagram that reached the relay's port. Nothing that came from the relay itself or from
// a gauge it feeds is ever sent on, so no datagram can circle.
RelayDatagram classifyRelayDatagram(QByteArrayView data, const DatagramEndpoint& from, quint16 relayPort,
                                    const RelaySubscribers& subscribers);

// Read by the user-interface thread while the forwarder counts on its own.
struct RelayCounters
{
    std::atomic<int> gauges = 0;
    std::atomic<quint64> forwarded = 0;
};

// Lives on the relay's thread and owns its socket: takes every datagram as soon as it arrives and sends each
// flight-data datagram on to every gauge that asked for it.
class RelayForwarder : public QObject
{
    Q_OBJECT

public:
    explicit RelayForwarder(std::shared_ptr<RelayCounters> counters);
    ~RelayForwarder() override;

    // The bound port, or 0 with the reason in `error`.
    quint16 open(quint16 port, QString& error);
    void close();
    void readPending();

signals:
    void gaugesChanged();

private:
    void expire();

    std::shared_ptr<RelayCounters> m_counters;
    std::unique_ptr<DatagramSocket> m_socket;
    QSocketNotifier* m_readable = nullptr;
    QTimer* m_expiry = nullptr;
    RelaySubscribers m_subscribers;
    quint16 m_port = 0;
};
