#include "ControlListener.h"

#include "app/Prompter.h"
#include "app/Session.h"
#include "instruments/InstrumentListOps.h"
#include "panels/PanelOperations.h"
#include "panels/PanelSettings.h"
#include "platform/Convert.h"
#include "platform/Errors.h"
#include "run/RunControl.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QThread>
#include <QUdpSocket>

#include <optional>

namespace {

constexpr qint64 kDatagramBuffer = 8192;
constexpr int kRetryMilliseconds = 100;

// Four decimal numbers 0..255 joined by dots, the first 224..239.
std::optional<QHostAddress> multicastGroup(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d+)\\.(\\d+)\\.(\\d+)\\.(\\d+)$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    quint32 address = 0;
    for (int i = 1; i <= 4; ++i) {
        bool ok = false;
        const uint part = match.captured(i).toUInt(&ok);
        if (!ok || part > 255)
            return std::nullopt;
        address = address << 8 | part;
    }
    if (address >> 24 < 224 || address >> 24 > 239)
        return std::nullopt;
    return QHostAddress(address);
}

} // namespace

ControlListener::ControlListener(Session& session, PanelOperations& panels, RunControl& run, QObject* parent)
    : QObject(parent), m_session(session), m_panels(panels), m_run(run)
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryMilliseconds);
    connect(&m_retry, &QTimer::timeout, this, &ControlListener::handlePending);
}

ControlListener::~ControlListener()
{
    StopControlListener();
}

void ControlListener::StartControlListener()
{
    // Opened once per run: a changed group or port takes effect at the next program start.
    if (m_open)
        return;
    const AppSettings& settings = m_session.settings;
    const std::optional<QHostAddress> group = multicastGroup(settings.MulticastGroup);
    if (!group)
        throw VarnoltError(QStringLiteral("The supplied IP address is not a valid multicast address."));
    // The port field is 16 bits wide: other numbers wrap, 0 lets the system choose.
    const auto port = static_cast<quint16>(strToInt(settings.ListenPort));

    m_group = *group;
    m_thread = std::make_unique<QThread>();
    m_thread->setObjectName(QStringLiteral("Control listener"));
    m_receiver = new QObject;
    m_receiver->moveToThread(m_thread.get());
    m_thread->start();
    m_open = true;

    // The socket is made on the listener thread; this thread waits only for the set-up, never the reverse.
    QMetaObject::invokeMethod(
        m_receiver,
        [this, port] {
            m_socket = new QUdpSocket(m_receiver);
            // Not shared: a second copy of the program stays deaf rather than stealing datagrams.
            m_bound = m_socket->bind(QHostAddress::AnyIPv4, port, QAbstractSocket::DontShareAddress);
            if (!m_bound)
                return;
            m_boundPort = m_socket->localPort();
            // On the default interface: the adapter chosen for the instruments plays no part here.
            m_joined = m_socket->joinMulticastGroup(m_group);
            connect(m_socket, &QUdpSocket::readyRead, m_socket, [this] {
                while (m_socket->hasPendingDatagrams()) {
                    QByteArray datagram(kDatagramBuffer, Qt::Uninitialized);
                    // A longer datagram is cut to the buffer.
                    const qint64 size = m_socket->readDatagram(datagram.data(), datagram.size());
                    if (size < 0)
                        break; // a receive error: the next readyRead tries again
                    datagram.truncate(size);
                    QMetaObject::invokeMethod(
                        this, [this, datagram] { received(datagram); }, Qt::QueuedConnection);
                }
            });
        },
        Qt::BlockingQueuedConnection);
}

void ControlListener::StopControlListener()
{
    if (!m_open)
        return;
    m_open = false;
    m_pending.clear();
    m_retry.stop();
    QMetaObject::invokeMethod(
        m_receiver,
        [this] {
            if (m_joined)
                m_socket->leaveMulticastGroup(m_group);
            delete m_socket;
            m_socket = nullptr;
        },
        Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_receiver;
    m_receiver = nullptr;
    m_thread.reset();
    // Datagrams handed over but not yet taken are dropped with the listener.
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
}

void ControlListener::received(const QByteArray& datagram)
{
    if (!m_open)
        return;
    m_pending.push_back(datagram);
    handlePending();
}

void ControlListener::handlePending()
{
    // A record of ours waits in a dialog: its datagram is finished first, then the ones behind it.
    if (m_handling)
        return;
    // The user's own operation is in a dialog; a panel must not be stopped or switched under it.
    if (m_session.prompter().modalOpen()) {
        m_retry.start();
        return;
    }
    m_handling = true;
    const auto done = qScopeGuard([this] { m_handling = false; });
    while (m_open && !m_pending.empty()) {
        const QByteArray datagram = std::move(m_pending.front());
        m_pending.pop_front();
        try {
            for (const ControlRecord& record : ParseControlDatagram(datagram)) {
                // Closed from within a record's dialog: the program is ending.
                if (!m_open)
                    return;
                handleRecord(record);
            }
        } catch (const std::exception&) {
            // Control datagrams never show a message: an error ends the datagram, the listener goes on.
        }
    }
}

void ControlListener::handleRecord(const ControlRecord& record)
{
    Session& s = m_session;
    switch (record.kind) {
    case ControlRecord::Stop:
        if (s.actions().stopEnabled)
            m_run.aStopPanelExecute();
        return;
    case ControlRecord::Start:
        if (s.actions().startEnabled)
            m_run.aStartPanelExecute();
        return;
    case ControlRecord::Aircraft:
        break;
    }
    const QString& aircraft = record.aircraft;
    s.setDocumentName(s.CurrentPanel.Name + QStringLiteral(" (") + aircraft + u')');
    if (aircraft.isEmpty() || s.CurrentPanel.Name.contains(aircraft, Qt::CaseSensitive))
        return;
    // Running, the aircraft flown has changed; idle, a panel starts only when asked to start with the simulator.
    if (s.settings.PanelSwitching && (s.isRunning() || s.settings.AutoStart))
        switchToAircraftPanel(aircraft);
}

void ControlListener::switchToAircraftPanel(const QString& aircraft)
{
    Session& s = m_session;
    const bool running = s.isRunning();
    const std::vector<InstrumentRow> leftRows = s.instruments().rows();
    QString found;
    std::vector<InstrumentRow> foundRows;
    {
        // Until the switch is certain, the list shows the loaded panel's rows, edits included: also when the
        // found panel's list cannot be read, or the next save point would write it over the loaded panel's.
        auto keepLeftRows = qScopeGuard([&] { s.instruments().setRows(leftRows); });
        if (!m_panels.FindPanel(aircraft, false, true, found)) {
            keepLeftRows.dismiss(); // nothing was read, the list is untouched
            return;
        }
        foundRows = s.instruments().rows();
    }
    // The bare folder "Panel_" is no panel; the panel for this aircraft may run already and goes on undisturbed.
    if (found.isEmpty() || (running && found == s.CurrentPanel.Name))
        return;
    if (found != s.CurrentPanel.Name) {
        // Leaving a panel keeps its rows, as Load and New do.
        SaveInstrumentList(s, s.CurrentPanel.Name);
        s.instruments().setRows(foundRows);
    }
    if (running)
        m_run.aStopPanelExecute();
    s.CurrentPanel.Name = found;
    s.setDocumentName(found + u'(' + aircraft + u')');
    LoadPanelSettings(s, found);
    // Should Start be refused by a question, the panel now loaded can still be started by hand.
    s.UpdateStartEnabled(found);
    m_run.aStartPanelExecute();
}
