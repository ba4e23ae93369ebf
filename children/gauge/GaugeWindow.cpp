#include "GaugeWindow.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QNetworkDatagram>
#include <QPainter>
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

} // namespace

GaugeWindow::GaugeWindow(const DialStyle& style, const ChildArgs& args, const QString& positionFile)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_style(style), m_args(args),
      m_position(positionFile)
{
    setWindowTitle(style.title);
    placeFromFile();

    // Two instances of one gauge share a port, so the address is shared too.
    m_socket = new QUdpSocket(this);
    if (m_args.ownPort > 0)
        m_socket->bind(QHostAddress::AnyIPv4, quint16(m_args.ownPort),
                       QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint);
    connect(m_socket, &QUdpSocket::readyRead, this, &GaugeWindow::readDatagrams);
}

void GaugeWindow::placeFromFile()
{
    const int monitor = m_position.readInt(Position, QStringLiteral("Monitor"), m_args.monitor);
    const QPoint offset(m_position.readInt(Position, QStringLiteral("X"), 0),
                        m_position.readInt(Position, QStringLiteral("Y"), 0));
    m_locked =
        m_position.read(Position, QStringLiteral("IsLocked")).compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
    m_scaleSize = std::clamp(m_position.readDouble(QStringLiteral("Size"), QStringLiteral("ScaleSize"), 1.0), 0.2, 5.0);
    applySize();
    move(screenAt(monitor)->geometry().topLeft() + offset);
}

void GaugeWindow::applySize()
{
    const int side = std::max(40, int(std::lround(baseSize * m_args.scale * m_scaleSize)));
    setFixedSize(side, side);
    setMask(QRegion(0, 0, side, side, QRegion::Ellipse)); // round without needing a compositor
}

// X and Y are kept relative to the monitor the gauge's centre lies on.
void GaugeWindow::savePlace()
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    int monitor = 0;
    for (int i = 0; i < screens.size(); ++i)
        if (screens[i]->geometry().contains(geometry().center()))
            monitor = i;
    const QPoint offset = pos() - screenAt(monitor)->geometry().topLeft();
    m_position.write(Position, QStringLiteral("Monitor"), QString::number(monitor));
    m_position.write(Position, QStringLiteral("X"), QString::number(offset.x()));
    m_position.write(Position, QStringLiteral("Y"), QString::number(offset.y()));
    m_position.write(Position, QStringLiteral("IsLocked"), m_locked ? QStringLiteral("True") : QStringLiteral("False"));
    m_position.write(QStringLiteral("Size"), QStringLiteral("ScaleSize"), QString::number(m_scaleSize, 'g', 3));
}

void GaugeWindow::readDatagrams()
{
    while (m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram d = m_socket->receiveDatagram(256);
        bool ok = false;
        const double v = QString::fromLatin1(d.data()).trimmed().replace(u',', u'.').toDouble(&ok);
        if (ok) {
            m_value = v;
            update();
        }
    }
}

void GaugeWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    paintDial(p, rect(), m_style, m_value, m_args.bezels, m_args.night);
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
}

void GaugeWindow::wheelEvent(QWheelEvent* e)
{
    if (m_locked)
        return;
    m_scaleSize = std::clamp(m_scaleSize + (e->angleDelta().y() > 0 ? 0.1 : -0.1), 0.2, 5.0);
    applySize();
    savePlace();
}
