#pragma once

#include "ChildArgs.h"
#include "ChildIni.h"
#include "Dial.h"

#include <QPoint>
#include <QWidget>

class QUdpSocket;

// One gauge window. It keeps its place, lock and size in its position file in the panel folder; while
// unlocked it can be dragged and resized with the wheel, a double-click locks or unlocks it.
class GaugeWindow : public QWidget
{
public:
    GaugeWindow(const DialStyle& style, const ChildArgs& args, const QString& positionFile);

    static constexpr int baseSize = 200;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    void placeFromFile();
    void applySize();
    void savePlace();
    void readDatagrams();

    DialStyle m_style;
    ChildArgs m_args;
    ChildIni m_position;
    QUdpSocket* m_socket = nullptr;
    double m_value = 0;
    double m_scaleSize = 1;
    bool m_locked = false;
    QPoint m_dragOffset;
    bool m_dragging = false;
};
