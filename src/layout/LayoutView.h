#pragma once

#include "FitToMonitors.h"

#include <QWidget>

#include <optional>

class InstrumentListModel;
class LayoutController;

// The panel drawn to scale over the PC's monitors: the background, one rectangle per placed instrument and,
// when they differ, the monitors the panel was saved on. Rectangles can be dragged, or moved with the arrow
// keys by one device pixel (Shift: ten), while the panel is stopped. Selection follows the instrument list.
class LayoutView : public QWidget
{
    Q_OBJECT

public:
    LayoutView(LayoutController& controller, InstrumentListModel& rows, QWidget* parent = nullptr);

    void setSnapping(bool on) { m_snapping = on; }
    bool snapping() const { return m_snapping; }
    // Shows a repair's result beside what the files hold now; none ends the preview.
    void setPreview(std::optional<FitPlan> plan);

    // Drawing scale and origin, for the tests and the benchmark: a device point's place in the widget.
    QPointF toWidget(QPoint devicePoint) const;
    QPoint toDevice(QPointF widgetPoint) const;
    QRectF windowRect(int index) const;
    // One step of a drag, as the mouse would make it (the benchmark drives it without events).
    void dragTo(QPointF widgetPoint);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void updateScale();
    int windowAt(QPointF widgetPoint) const;
    int selectedWindow() const;
    QPoint draggedTopLeft() const;
    void move(int index, QPoint desktopPoint);

    LayoutController& m_controller;
    InstrumentListModel& m_rows;
    std::optional<FitPlan> m_preview;
    bool m_snapping = true;
    double m_scale = 1;
    QPoint m_origin;     // device point drawn at the margin
    QRect m_storedStrip; // where the saved monitors are drawn, device coordinates
    int m_dragging = -1; // window being dragged
    QPointF m_pressAt;   // widget point where the drag began
    QPoint m_dragDelta;  // device pixels moved so far
};
