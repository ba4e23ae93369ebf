#pragma once

#include "ChildArgs.h"
#include "ChildIni.h"
#include "Dial.h"

#include <QPoint>
#include <QTimer>
#include <QWidget>

class QScreen;
class QUdpSocket;

// One gauge window. It keeps its place, lock and size in its position file in the panel folder; while
// unlocked it can be dragged and resized with the wheel, a double-click locks or unlocks it. It shows the
// value under its data key from the flight data on the panel's multicast group and simulator port or from
// the launcher's relay, or a plain number sent to its own port, and an OFF flag while none brings anything.
class GaugeWindow : public QWidget
{
public:
    GaugeWindow(const DialStyle& style, QString dataKey, const ChildArgs& args, const QString& positionFile);

    static constexpr int baseSize = 200;
    static constexpr int noDataMilliseconds = 3000;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void moveEvent(QMoveEvent* e) override;

private:
    void placeFromFile();
    void applySize();
    void savePlace();
    void saveSize();
    int deviceSide() const;
    void listen();
    void listenToRelay();
    void askRelay();
    void readDatagrams(QUdpSocket* socket);
    void setNoData();
    void writeState();
    QScreen* currentScreen() const;

    DialStyle m_style;
    QString m_dataKey;
    ChildArgs m_args;
    ChildIni m_position;
    QString m_stateFile; // test hook: where the shown state is written, empty when off
    QTimer m_stateRetry;
    QUdpSocket* m_ownPort = nullptr;
    QUdpSocket* m_flightData = nullptr;
    QUdpSocket* m_relay = nullptr; // ours alone, on loopback: the relay sends its copies here
    quint16 m_relayPort = 0;
    QTimer m_askRelayTimer;
    QTimer m_noDataTimer;
    double m_value = 0;
    bool m_noData = true;
    double m_scaleSize = 1;
    bool m_locked = false;
    QPoint m_dragOffset;
    bool m_dragging = false;
};
