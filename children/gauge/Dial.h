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

// What the dial shows right now.
struct DialState
{
    double value = 0;
    bool bezel = true;
    bool night = false;
    bool noData = false; // the OFF flag, as a real instrument shows it without power or signal
    bool locked = false; // a small padlock: the gauge cannot be dragged or resized
};

void paintDial(QPainter& p, const QRectF& area, const DialStyle& style, const DialState& state);
