#include "GaugeWindow.h"

#include "DevicePixels.h"
#include "FlightData.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QPainter>
#include <QSaveFile>
#include <QScreen>
#include <QUdpSocket>
#include <QWheelEvent>

namespace {

const QString Position = QStringLiteral("Position");

QScreen* screenAt(int index)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    return index >= 0 && index < screens.size() ? screens[index] : QGuiApplication::primaryScreen();
}

// Gauges without a saved place open side by side by port and instance instead of on top of each other,
// in rows that fit the monitor (device pixels).
QPoint cascadeOffset(int port, int instance, QSize monitor)
{
    const int step = GaugeWindow::baseSize + 20;
    const int columns = std::max(1, (monitor.width() - 40) / step);
    const int rows = std::max(1, (monitor.height() - 40) / step);
    const int slot = ((port % 10) + 10) % 10 % (columns * rows); // catalogue ports differ in the last digit
    const int shift = ((std::max(instance, 1) - 1) % 8) * 30;
    return QPoint(40 + (slot % columns) * step + shift, 40 + (slot / columns) * step + shift);
}

// The adapter that holds the address the launcher chose; invalid when none does.
QNetworkInterface interfaceWithAddress(const QString& address)
{
    const QHostAddress wanted(address);
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces())
        for (const QNetworkAddressEntry& e : i.addressEntries())
            if (e.ip() == wanted)
                return i;
    return {};
}

} // namespace

GaugeWindow::GaugeWindow(const DialStyle& style, QString dataKey, const ChildArgs& args, const QString& positionFile)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_style(style),
      m_dataKey(std::move(dataKey)), m_args(args), m_position(positionFile)
{
    setWindowTitle(style.title);
    const QString stateFolder = qEnvironmentVariable("VARNOLT_GAUGE_STATE_DIR");
    if (!stateFolder.isEmpty())
        m_stateFile = QDir(stateFolder).filePath(QString::number(QCoreApplication::applicationPid()) + ".state");
    m_stateRetry.setSingleShot(true);
    m_stateRetry.setInterval(50);
    connect(&m_stateRetry, &QTimer::timeout, this, &GaugeWindow::writeState);

    m_noDataTimer.setSingleShot(true);
    m_noDataTimer.setInterval(noDataMilliseconds);
    connect(&m_noDataTimer, &QTimer::timeout, this, &GaugeWindow::setNoData);
    placeFromFile();
    listen();
    listenToRelay();
    writeState();
}

void GaugeWindow::listen()
{
    // Two instances of one gauge share their own port, so the address is shared too.
    m_ownPort = new QUdpSocket(this);
    if (m_args.ownPort > 0)
        m_ownPort->bind(QHostAddress::AnyIPv4, quint16(m_args.ownPort),
                        QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint);
    connect(m_ownPort, &QUdpSocket::readyRead, this, [this] { readDatagrams(m_ownPort); });

    // Every gauge of the panel listens on the simulator port; multicast reaches each of them.
    bool ok = false;
    const int simPort = m_args.simPort.toInt(&ok);
    if (!ok || simPort <= 0 || simPort > 65535 || simPort == m_args.ownPort)
        return;
    m_flightData = new QUdpSocket(this);
    if (!m_flightData->bind(QHostAddress::AnyIPv4, quint16(simPort),
                            QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint))
        return;
    const QHostAddress group(m_args.multicastGroup);
    if (group.isMulticast()) {
        const QNetworkInterface adapter = interfaceWithAddress(m_args.address);
        if (!adapter.isValid() || !m_flightData->joinMulticastGroup(group, adapter))
            m_flightData->joinMulticastGroup(group); // the system's choice of adapter
    }
    connect(m_flightData, &QUdpSocket::readyRead, this, [this] { readDatagrams(m_flightData); });
}

// Flight data sent to this PC by unicast reaches only one of the sockets sharing the simulator port (and
// two instances of a gauge share their own port too), so the launcher relays it: it sends a copy to every
// gauge that asks, from a socket of the gauge's own. A request lasts a few seconds; asking every second
// keeps it alive and finds a relay that started late.
void GaugeWindow::listenToRelay()
{
    bool ok = false;
    const uint port = qEnvironmentVariable("VARNOLT_RELAY_PORT").toUInt(&ok);
    if (!ok || port == 0 || port > 65535)
        return;
    m_relay = new QUdpSocket(this);
    if (!m_relay->bind(QHostAddress::LocalHost, 0))
        return;
    m_relayPort = quint16(port);
    connect(m_relay, &QUdpSocket::readyRead, this, [this] { readDatagrams(m_relay); });
    m_askRelayTimer.setInterval(1000);
    connect(&m_askRelayTimer, &QTimer::timeout, this, &GaugeWindow::askRelay);
    m_askRelayTimer.start();
    askRelay();
}

void GaugeWindow::askRelay()
{
    m_relay->writeDatagram(QByteArrayLiteral("SUBSCRIBE"), QHostAddress::LocalHost, m_relayPort);
}

QScreen* GaugeWindow::currentScreen() const
{
    QScreen* s = screen();
    return s ? s : QGuiApplication::primaryScreen();
}

// X and Y are device pixels from the top-left corner of the monitor.
void GaugeWindow::placeFromFile()
{
    const int monitor = m_position.readInt(Position, QStringLiteral("Monitor"), m_args.monitor);
    QScreen* target = screenAt(monitor);
    const bool placed = !m_position.read(Position, QStringLiteral("X")).isEmpty();
    const QPoint offset =
        placed ? QPoint(m_position.readInt(Position, QStringLiteral("X"), 0),
                        m_position.readInt(Position, QStringLiteral("Y"), 0))
               : cascadeOffset(m_args.ownPort, m_args.instance, target->geometry().size() * target->devicePixelRatio());
    m_locked =
        m_position.read(Position, QStringLiteral("IsLocked")).compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
    m_scaleSize = std::clamp(m_position.readDouble(QStringLiteral("Size"), QStringLiteral("ScaleSize"), 1.0), 0.2, 5.0);
    setScreen(target);
    applySize();
    move(logicalFromDevice(target, target->geometry().topLeft() + offset));
    // The launcher draws the panel's layout from these: a gauge without a place keeps the one it opened at,
    // and the scale on the command line may have changed.
    if (placed)
        saveSize();
    else
        savePlace();
}

// The window's size in device pixels, beside the scale it comes from: only the gauge knows its base size.
void GaugeWindow::saveSize()
{
    const QString side = QString::number(deviceSide());
    for (const QString& key : {QStringLiteral("Width"), QStringLiteral("Height")})
        if (m_position.read(QStringLiteral("Size"), key) != side)
            m_position.write(QStringLiteral("Size"), key, side);
}

int GaugeWindow::deviceSide() const
{
    return std::max(40, int(std::lround(baseSize * m_args.scale * m_scaleSize)));
}

void GaugeWindow::applySize()
{
    const int deviceSide = this->deviceSide();
    const int side = logicalLength(currentScreen(), deviceSide);
    setFixedSize(side, side);
    setMask(QRegion(0, 0, side, side, QRegion::Ellipse)); // round without needing a compositor
}

// Kept relative to the monitor the gauge's centre lies on.
void GaugeWindow::savePlace()
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    int monitor = 0;
    for (int i = 0; i < screens.size(); ++i)
        if (screens[i]->geometry().contains(geometry().center()))
            monitor = i;
    QScreen* s = screenAt(monitor);
    const QPoint offset = deviceFromLogical(s, pos()) - s->geometry().topLeft();
    m_position.write(Position, QStringLiteral("Monitor"), QString::number(monitor));
    m_position.write(Position, QStringLiteral("X"), QString::number(offset.x()));
    m_position.write(Position, QStringLiteral("Y"), QString::number(offset.y()));
    m_position.write(Position, QStringLiteral("IsLocked"), m_locked ? QStringLiteral("True") : QStringLiteral("False"));
    m_position.write(QStringLiteral("Size"), QStringLiteral("ScaleSize"), QString::number(m_scaleSize, 'g', 3));
    saveSize();
}

void GaugeWindow::readDatagrams(QUdpSocket* socket)
{
    bool changed = false;
    while (socket->hasPendingDatagrams()) {
        const QNetworkDatagram d = socket->receiveDatagram(2048);
        if (const std::optional<double> v = flightValue(d.data(), m_dataKey)) {
            changed = changed || *v != m_value || m_noData;
            m_value = *v;
            m_noData = false;
            m_noDataTimer.start();
        }
    }
    if (changed) {
        update();
        writeState();
    }
}

void GaugeWindow::setNoData()
{
    m_noData = true;
    update();
    writeState();
}

// Test hook: the shown state, for checks that must not depend on pixels.
void GaugeWindow::writeState()
{
    if (m_stateFile.isEmpty())
        return;
    const QScreen* s = currentScreen();
    QSaveFile f(m_stateFile);
    if (!f.open(QIODevice::WriteOnly))
        return;
    const QRect g = geometry();
    f.write(QStringLiteral("panel=%1\ngauge=%2\ninstance=%3\nvalue=%4\nnodata=%5\nlocked=%6\n"
                           "geometry=%7,%8,%9,%10\ndpr=%11\n")
                .arg(m_args.panelName, windowTitle())
                .arg(m_args.instance)
                .arg(m_value)
                .arg(int(m_noData))
                .arg(int(m_locked))
                .arg(g.x())
                .arg(g.y())
                .arg(g.width())
                .arg(g.height())
                .arg(s->devicePixelRatio())
                .toUtf8());
    // On Windows the file cannot be replaced while a reader has it open; the state would stay old until the
    // next change, so it is written again shortly.
    if (!f.commit())
        m_stateRetry.start();
}

void GaugeWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    paintDial(p, rect(), m_style, DialState{m_value, m_args.bezels, m_args.night, m_noData, m_locked});
}

void GaugeWindow::moveEvent(QMoveEvent*)
{
    writeState();
}

void GaugeWindow::mousePressEvent(QMouseEvent* e)
{
    if (m_locked || e->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_dragOffset = e->globalPosition().toPoint() - pos();
}

void GaugeWindow::mouseMoveEvent(QMouseEvent* e)
{
    if (m_dragging)
        move(e->globalPosition().toPoint() - m_dragOffset);
}

void GaugeWindow::mouseReleaseEvent(QMouseEvent*)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    savePlace();
}

void GaugeWindow::mouseDoubleClickEvent(QMouseEvent*)
{
    m_locked = !m_locked;
    savePlace();
    update();
    writeState();
}

void GaugeWindow::wheelEvent(QWheelEvent* e)
{
    if (m_locked)
        return;
    m_scaleSize = std::clamp(m_scaleSize + (e->angleDelta().y() > 0 ? 0.1 : -0.1), 0.2, 5.0);
    applySize();
    savePlace();
}
