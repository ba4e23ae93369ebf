#include "FlightDataRelay.h"

#include "RelayForwarder.h"

#include <optional>

namespace {

std::optional<quint16> portNumber(const QString& text)
{
    bool ok = false;
    const uint v = text.trimmed().toUInt(&ok, 10);
    return ok && v <= 65535 ? std::optional<quint16>(quint16(v)) : std::nullopt;
}

} // namespace

FlightDataRelay::FlightDataRelay(QObject* parent) : QObject(parent), m_counters(std::make_shared<RelayCounters>()) {}

FlightDataRelay::~FlightDataRelay()
{
    closeThread();
}

bool FlightDataRelay::start(const QString& portSetting, const QString& flightSimPort)
{
    closeThread();
    m_port = 0;
    const std::optional<quint16> port = portNumber(portSetting);
    if (!port) {
        fail(QStringLiteral("RelayPort '%1' is not a port number from 1 to 65535 (0 turns the relay off)")
                 .arg(portSetting));
        return false;
    }
    if (*port == 0) {
        fail(QStringLiteral("turned off (RelayPort=0)"));
        return false;
    }
    // Held alone by the relay, the simulator port could no longer be shared by the gauges.
    if (portNumber(flightSimPort) == port) {
        fail(QStringLiteral("RelayPort %1 is the simulator port, which the gauges share: choose another").arg(*port));
        return false;
    }

    m_counters->forwarded = 0;
    m_thread.reset(new QThread);
    m_thread->setObjectName(QStringLiteral("Flight data relay"));
    m_forwarder = std::make_unique<RelayForwarder>(m_counters);
    m_forwarder->moveToThread(m_thread.get());
    connect(m_forwarder.get(), &RelayForwarder::gaugesChanged, this, &FlightDataRelay::statusChanged,
            Qt::QueuedConnection);
    // The socket is closed on the relay's own thread once its loop has ended. A stop is not asked for by an
    // event posted to that loop: Qt's loop on Windows holds posted events back while socket messages keep
    // arriving, so under a flood the request would wait for the flood to end. Quitting interrupts the loop.
    connect(m_thread.get(), &QThread::finished, m_forwarder.get(), &RelayForwarder::close, Qt::DirectConnection);
    m_thread->start();

    // The socket is made on the relay's thread; this thread waits only for the set-up, never the reverse.
    quint16 bound = 0;
    QString error;
    QMetaObject::invokeMethod(
        m_forwarder.get(), [&] { bound = m_forwarder->open(*port, error); }, Qt::BlockingQueuedConnection);
    if (bound == 0) {
        closeThread();
        fail(QStringLiteral("cannot receive on UDP port %1: %2").arg(*port).arg(error));
        return false;
    }
    m_port = bound;
    m_problem.clear();
    emit statusChanged();
    return true;
}

void FlightDataRelay::stop()
{
    const bool changed = m_thread || !m_problem.isEmpty();
    closeThread();
    m_port = 0;
    m_problem.clear();
    if (changed)
        emit statusChanged();
}

void FlightDataRelay::closeThread()
{
    if (!m_thread)
        return;
    m_thread.reset();
    // The thread has ended: nothing touches the forwarder any more.
    m_forwarder.reset();
}

void FlightDataRelay::fail(const QString& problem)
{
    m_problem = problem;
    emit statusChanged();
}

FlightDataRelayStatus FlightDataRelay::status() const
{
    FlightDataRelayStatus s;
    s.running = isRunning();
    s.port = m_port;
    s.problem = m_problem;
    if (s.running) {
        s.gauges = m_counters->gauges;
        s.forwarded = m_counters->forwarded;
    }
    return s;
}
