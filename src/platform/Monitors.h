#pragma once

#include <QObject>
#include <QRect>
#include <QSize>

// The PC's monitors in the platform's order, with bounds in virtual-desktop device pixels (never scaled).
class Monitors : public QObject
{
    Q_OBJECT

public:
    ~Monitors() override = default;
    virtual int count() const = 0;
    virtual QRect bounds(int index) const = 0;
    virtual QSize virtualDesktopSize() const = 0;

signals:
    // A monitor was connected or removed, or one changed its place or resolution.
    void changed();
};
