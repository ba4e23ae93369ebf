#include "SplashPicture.h"

#include "Artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

void paintSplashSky(QPainter& p, const QSize& size)
{
    const int width = size.width();
    const int height = size.height();
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(18, 38, 74));
    sky.setColorAt(1, QColor(6, 12, 24));
    p.fillRect(QRect(QPoint(0, 0), size), sky);

    // A dial, the program's emblem.
    const QPointF c(width / 2.0, height / 2.0 + 6);
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

    p.restore();
}

QRect splashTitleArea(const QSize& size)
{
    return QRect(0, size.height() - 52, size.width(), 40);
}

void paintSplashTitle(QPainter& p, const QRect& area)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QFont title = interfaceFont();
    title.setPointSize(20);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(area, Qt::AlignCenter, QStringLiteral("Varnolt Professional"));
    p.restore();
}
