#include "TfrmSplash.h"

#include "Folders.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

TfrmSplash::TfrmSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(384, 257);
    // The picture covers every pixel, so the window's own background is never drawn under it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    // The label is fixed text, not the program's version field.
    auto* version = new QLabel(QStringLiteral("Version ") + VersionNo, this);
    version->setObjectName(QStringLiteral("lblVersion"));
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setBold(true);
    version->setFont(font);
    // A palette, not a style sheet: one style sheet brings in Qt's whole style sheet machinery at start-up.
    QPalette white = version->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    version->setPalette(white);
    version->move(16, 8);
}

void TfrmSplash::showPainted()
{
    show();
    if (!m_painted)
        repaint();
}

void TfrmSplash::paintEvent(QPaintEvent*)
{
    m_painted = true;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(18, 38, 74));
    sky.setColorAt(1, QColor(6, 12, 24));
    p.fillRect(rect(), sky);

    // A dial, the program's emblem.
    const QPointF c(width() / 2.0, height() / 2.0 + 6);
    p.setPen(QPen(QColor(200, 210, 220), 3));
    p.setBrush(QColor(20, 20, 20));
    p.drawEllipse(c, 70, 70);
    p.setPen(QPen(Qt::white, 2));
    for (int i = 0; i < 12; ++i) {
        p.save();
        p.translate(c);
        p.rotate(i * 30);
        p.drawLine(QPointF(0, -60), QPointF(0, -68));
        p.restore();
    }
    p.setPen(QPen(QColor(255, 140, 0), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(38, -38));

    QFont title(QStringLiteral("Tahoma"), 20);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, height() - 52, width(), 40), Qt::AlignCenter, QStringLiteral("Varnolt Professional"));
}
