#include "Dial.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

// Angle in degrees, clockwise from twelve o'clock.
double angleFor(const DialStyle& s, double value)
{
    double v = value;
    if (s.wrap)
        v = std::fmod(std::fmod(v - s.min, s.max - s.min) + (s.max - s.min), s.max - s.min) + s.min;
    v = std::clamp(v, s.min, s.max);
    const double start = s.sweepDegrees >= 360 ? 0 : -s.sweepDegrees / 2;
    return start + (v - s.min) / (s.max - s.min) * s.sweepDegrees;
}

QPointF onCircle(double radius, double degrees)
{
    const double r = qDegreesToRadians(degrees);
    return {radius * std::sin(r), -radius * std::cos(r)};
}

} // namespace

void paintDial(QPainter& p, const QRectF& area, const DialStyle& s, const DialState& state)
{
    const double value = state.value;
    const bool bezel = state.bezel;
    const bool night = state.night;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(area.center());
    const double size = std::min(area.width(), area.height());
    p.scale(size / 200.0, size / 200.0); // draw on a 200 by 200 dial

    const QColor ink = night ? QColor(255, 170, 60) : QColor(240, 240, 240);
    double faceRadius = 99;
    if (bezel) {
        QRadialGradient ring(QPointF(-30, -30), 160);
        ring.setColorAt(0, QColor(170, 170, 175));
        ring.setColorAt(1, QColor(50, 50, 55));
        p.setPen(Qt::NoPen);
        p.setBrush(ring);
        p.drawEllipse(QPointF(0, 0), 99, 99);
        // Setting knob at lower left.
        p.setBrush(QColor(35, 35, 38));
        p.setPen(QPen(QColor(120, 120, 125), 1.5));
        p.drawEllipse(QPointF(-72, 72), 14, 14);
        faceRadius = 86;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(night ? QColor(12, 8, 6) : QColor(20, 20, 22));
    p.drawEllipse(QPointF(0, 0), faceRadius, faceRadius);

    // Scale: major ticks with labels, minor ticks between.
    const double r = faceRadius - 4;
    const int majors = int(std::round((s.max - s.min) / s.majorStep));
    QFont font = p.font();
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    for (int i = 0; i <= majors; ++i) {
        const double v = s.min + i * s.majorStep;
        if (s.wrap && i == majors)
            break;
        const double a = angleFor(s, v);
        p.setPen(QPen(ink, 3));
        p.drawLine(onCircle(r, a), onCircle(r - 12, a));
        const QPointF c = onCircle(r - 26, a);
        p.drawText(QRectF(c.x() - 20, c.y() - 10, 40, 20), Qt::AlignCenter,
                   QString::number(v / s.labelDivisor, 'f', 0));
        if (i == majors)
            continue;
        p.setPen(QPen(ink, 1.2));
        for (int m = 1; m < s.minorPerMajor; ++m) {
            const double am = angleFor(s, v + m * s.majorStep / s.minorPerMajor);
            p.drawLine(onCircle(r, am), onCircle(r - 6, am));
        }
    }

    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(QRectF(-50, -42, 100, 16), Qt::AlignCenter, s.title);
    font.setPixelSize(9);
    p.setFont(font);
    p.drawText(QRectF(-50, -28, 100, 14), Qt::AlignCenter, s.unit);

    // Needle.
    p.rotate(angleFor(s, value));
    QPainterPath needle;
    needle.moveTo(-4, 12);
    needle.lineTo(0, -(r - 8));
    needle.lineTo(4, 12);
    needle.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(needle);
    p.setBrush(QColor(60, 60, 60));
    p.drawEllipse(QPointF(0, 0), 7, 7);
    p.rotate(-angleFor(s, value));

    // Counter with the exact value, in its window in front of the needle.
    p.setBrush(Qt::black);
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.drawRect(QRectF(-30, 18, 60, 18));
    font.setPixelSize(13);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(QRectF(-30, 18, 60, 18), Qt::AlignCenter, QString::number(value, 'f', 0));

    if (state.noData) {
        const QRectF flag(-16, 38, 32, 13); // between the lowest labels
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(200, 30, 30));
        p.drawRect(flag);
        font.setPixelSize(10);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(flag, Qt::AlignCenter, QStringLiteral("OFF"));
    }
    if (state.locked) {
        // Padlock on a dark button at lower right, opposite the setting knob.
        p.setPen(QPen(QColor(120, 120, 125), 1.5));
        p.setBrush(QColor(35, 35, 38));
        p.drawEllipse(QPointF(64, 64), 11, 11);
        p.setPen(QPen(ink, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(60, 56, 8, 9), 0, 180 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRect(QRectF(58.5, 61, 11, 8));
    }
    p.restore();
}
