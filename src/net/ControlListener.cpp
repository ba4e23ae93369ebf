#include "ControlListener.h"

#include "platform/Convert.h"
#include "platform/Errors.h"
#include "settings/AppSettings.h"

#include <QThread>

#include <algorithm>
#include <optional>

namespace {

// Four decimal numbers 0..255 joined by dots, the first 224..239; nothing else, not even spaces.
// The address in host order. Read by hand: a pattern would be compiled for this one look at start-up.
std::optional<quint32> multicastGroup(const QString& text)
{
    const QList<QStringView> parts = QStringView(text).split(u'.');
    if (parts.size() != 4)
        return std::nullopt;
    quint32 address = 0;
    for (QStringView part : parts) {
        if (part.isEmpty() || !std::all_of(part.begin(), part.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            return std::nullopt;
        bool ok = false;
        const uint number = part.toUInt(&ok);
        if (!ok || number > 255)
            return std::nullopt;
        address = address << 8 | number;
    }
    if (address >> 24 < 224 || address >> 24 > 239)
        return std::nullopt;
    return address;
}

} // namespace

ControlListener::ControlListener(const AppSettings& settings, QObject* parent) : QObject(parent), m_settings(settings)
{}

ControlListener::~ControlListener()
{
    StopControlListener();
}

void ControlListener::StartControlListener()
{
    // Opened once per run: a changed group or port takes effect at the next program start.
    if (m_open)
        return;
    const std::optional<quint32> group = multicastGroup(m_settings.MulticastGroup);
    if (!group)
        throw VarnoltError(QStringLiteral("The supplied IP address is not a valid multicast address."));
    // The port field is 16 bits wide: other numbers wrap, 0 lets the system choose.
    const auto port = static_cast<quint16>(strToInt(m_settings.ListenPort));

    m_queue->clear();
    if (m_deliveryEnded)
        m_queue->close();
    m_thread.reset(new QThread);
    m_thread->setObjectName(QStringLiteral("Control listener"));
    m_receiver = std::make_unique<ControlReceiver>(m_queue);
    m_receiver->moveToThread(m_thread.get());
    connect(m_receiver.get(), &ControlReceiver::datagramsWaiting, this, &ControlListener::recordsWaiting,
            Qt::QueuedConnection);
    // The socket is closed on the listener thread once its loop has ended. A stop is not asked for by an event
    // posted to that loop: Qt's loop on Windows holds posted events back while socket messages keep arriving,
    // so under a storm the request would wait for the storm to end. Quitting interrupts the loop.
    connect(m_thread.get(), &QThread::finished, m_receiver.get(), &ControlReceiver::close, Qt::DirectConnection);
    m_thread->start();
    m_open = true;

    // The socket is made on the listener thread; this thread waits only for the set-up, never the reverse.
    ControlSocketState state;
    QMetaObject::invokeMethod(
        m_receiver.get(), [&] { state = m_receiver->open(port, *group); }, Qt::BlockingQueuedConnection);
    m_socket = state;
    emit stateChanged();
}

void ControlListener::StopControlListener()
{
    if (!m_open)
        return;
    m_open = false;
    m_thread.reset();
    // The thread has ended: nothing touches the receiver any more. A wake-up it posted goes with it.
    m_receiver.reset();
    m_queue->clear();
    m_pending.clear();
    m_pendingCost = 0;
    m_socket = {};
    emit stateChanged();
}

void ControlListener::endDelivery()
{
    m_deliveryEnded = true;
    // The listener thread stops reading: what arrives from now on waits in the socket until it closes.
    m_queue->close();
    m_pending.clear();
    m_pendingCost = 0;
}

namespace {

// A pending record counted as the queue counts it, so the two bounds measure alike.
qsizetype costOf(const ControlRecord& record)
{
    return qsizetype(sizeof(PendingRecord)) + record.aircraft.size() * qsizetype(sizeof(QChar)) + 32;
}

} // namespace

const std::deque<PendingRecord>& ControlListener::pending()
{
    if (delivering())
        takeQueued();
    return m_pending;
}

void ControlListener::dropPending(qsizetype count)
{
    for (; count > 0 && !m_pending.empty(); --count) {
        m_pendingCost -= costOf(m_pending.front().record);
        m_pending.pop_front();
    }
}

void ControlListener::addPending(const std::vector<ControlRecord>& records)
{
    if (!delivering())
        return;
    const quint64 datagram = ++m_datagrams;
    for (const ControlRecord& r : records) {
        m_pendingCost += costOf(r);
        m_pending.push_back({r, datagram});
    }
}

void ControlListener::takeQueued()
{
    while (m_pendingCost < ControlQueue::kByteBound) {
        bool resumeReader = false;
        std::optional<std::vector<ControlRecord>> records = m_queue->pop(resumeReader);
        if (resumeReader)
            QMetaObject::invokeMethod(m_receiver.get(), &ControlReceiver::readPending, Qt::QueuedConnection);
        if (!records)
            return;
        const quint64 datagram = ++m_datagrams;
        for (ControlRecord& r : *records) {
            m_pendingCost += costOf(r);
            m_pending.push_back({std::move(r), datagram});
        }
    }
}
