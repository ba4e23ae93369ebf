#pragma once

#include <QPoint>
#include <QRect>

class QScreen;

// The panel files give places and sizes in device pixels whatever scale factor Qt runs with. Qt keeps a
// screen's top-left corner in device pixels and scales only what lies inside it, so a point is turned
// around that corner.
QPoint logicalFromDevice(const QScreen* screen, QPoint devicePoint);
QPoint deviceFromLogical(const QScreen* screen, QPoint logicalPoint);
int logicalLength(const QScreen* screen, int deviceLength);

// The screen whose area in device pixels holds the point; the primary screen when none does.
QScreen* screenAtDevicePoint(QPoint devicePoint);

// A rectangle of the virtual desktop in device pixels, as a window geometry.
QRect logicalFromDevice(QRect deviceRect);
