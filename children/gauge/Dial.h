#pragma once

#include <QRectF>
#include <QString>

class QPainter;

// What one gauge shows: a scale from min to max over a sweep of the dial, the needle turning once per
// `wrap` units when set (an altimeter's hundreds), and a counter under the needle.
struct DialStyle
{
    QString title;
    QString unit;
    double min = 0;
    double max = 100;
    double majorStep = 10;
    int minorPerMajor = 5;
    double sweepDegrees = 300;
    double labelDivisor = 1; // labels show value / divisor
    bool wrap = false;
};

void paintDial(QPainter& p, const QRectF& area, const DialStyle& style, double value, bool bezel, bool night);
