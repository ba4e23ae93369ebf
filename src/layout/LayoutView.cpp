#include "LayoutView.h"

#include "LayoutController.h"
#include "Placing.h"
#include "instruments/InstrumentListModel.h"
#include "platform/Prompter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Margin = 12;
constexpr int SnapWidgetPixels = 8;
constexpr int StripGap = 200; // device pixels between the PC's monitors and the saved ones

const QColor MonitorFill(52, 58, 68);
const QColor MonitorEdge(120, 130, 145);
const QColor WindowFill(70, 140, 220);
const QColor OffScreenFill(210, 50, 50);
const QColor PreviewFill(60, 170, 90);

bool storedDiffers(const PanelLayout& l)
{
    if (l.stored.ScreenCount != int(l.monitors.size()))
        return true;
    for (int i = 0; i < l.stored.ScreenCount && i < MonitorLayout::MeasuredScreens; ++i)
        if (QSize(l.stored.ScreenWidth[i], l.stored.ScreenHeight[i]) != l.monitors[i].size())
            return true;
    return false;
}

// The saved monitors side by side, as far as their sizes are known.
std::vector<QRect> storedMonitors(const PanelLayout& l, QPoint topLeft)
{
    std::vector<QRect> rects;
    int x = topLeft.x();
    for (int i = 0; i < l.stored.ScreenCount && i < MonitorLayout::MeasuredScreens; ++i) {
        const QSize s(l.stored.ScreenWidth[i], l.stored.ScreenHeight[i]);
        rects.emplace_back(QPoint(x, topLeft.y()), s.isEmpty() ? QSize(640, 480) : s);
        x += rects.back().width() + 40;
    }
    return rects;
}

} // namespace

LayoutView::LayoutView(LayoutController& controller, InstrumentListModel& rows, QWidget* parent)
    : QWidget(parent), m_controller(controller), m_rows(rows)
{
    setObjectName(QStringLiteral("layoutView"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 200);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&controller, &LayoutController::changed, this, [this] {
        updateScale();
        update();
    });
    connect(&rows, &InstrumentListModel::selectionChanged, this, qOverload<>(&QWidget::update));
    updateScale();
}

void LayoutView::setPreview(std::optional<FitPlan> plan)
{
    m_preview = std::move(plan);
    update();
}

void LayoutView::updateScale()
{
    const PanelLayout& l = m_controller.layout();
    QRect all;
    for (const QRect& m : l.monitors)
        all |= m;
    for (const PlacedWindow& w : l.windows)
        all |= l.desktopRect(w);
    if (l.background)
        all |= *l.background;
    m_storedStrip = {};
    if (storedDiffers(l) && l.stored.ScreenCount > 0) {
        for (const QRect& r : storedMonitors(l, QPoint(all.right() + StripGap, all.top())))
            m_storedStrip |= r;
        all |= m_storedStrip;
    }
    if (all.isEmpty())
        all = QRect(0, 0, 1920, 1080);
    const double sx = double(std::max(1, width() - 2 * Margin)) / all.width();
    const double sy = double(std::max(1, height() - 2 * Margin - 16)) / all.height();
    m_scale = std::max(1e-4, std::min(sx, sy));
    m_origin = all.topLeft();
}

QPointF LayoutView::toWidget(QPoint p) const
{
    return QPointF(Margin + (p.x() - m_origin.x()) * m_scale, Margin + 16 + (p.y() - m_origin.y()) * m_scale);
}

QPoint LayoutView::toDevice(QPointF p) const
{
    return QPoint(int(std::lround((p.x() - Margin) / m_scale)) + m_origin.x(),
                  int(std::lround((p.y() - Margin - 16) / m_scale)) + m_origin.y());
}

QRectF LayoutView::windowRect(int index) const
{
    const PanelLayout& l = m_controller.layout();
    QRect r = l.desktopRect(l.windows.at(index));
    if (index == m_dragging)
        r.moveTopLeft(draggedTopLeft());
    const QPointF a = toWidget(r.topLeft());
    // A window of unknown size is a marker of fixed size.
    const QSizeF size = l.windows[index].size.isEmpty() ? QSizeF(10, 10) : QSizeF(r.size()) * m_scale;
    return {a, size};
}

int LayoutView::windowAt(QPointF p) const
{
    // The topmost (last drawn) first.
    for (int i = int(m_controller.layout().windows.size()) - 1; i >= 0; --i)
        if (windowRect(i).contains(p))
            return i;
    return -1;
}

int LayoutView::selectedWindow() const
{
    return m_controller.layout().windowOfRow(m_rows.selectedIndex());
}

QPoint LayoutView::draggedTopLeft() const
{
    const PanelLayout& l = m_controller.layout();
    const PlacedWindow& w = l.windows.at(m_dragging);
    QRect moved = l.desktopRect(w).translated(m_dragDelta);
    if (!m_snapping)
        return moved.topLeft();
    std::vector<QRect> targets = l.monitors;
    for (int i = 0; i < int(l.windows.size()); ++i)
        if (i != m_dragging && !l.windows[i].size.isEmpty())
            targets.push_back(l.desktopRect(l.windows[i]));
    return snapped(moved, targets, int(std::ceil(SnapWidgetPixels / m_scale)));
}

void LayoutView::resizeEvent(QResizeEvent*)
{
    updateScale();
}

void LayoutView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window).darker(115));
    p.setRenderHint(QPainter::Antialiasing, false);
    const PanelLayout& l = m_controller.layout();
    const auto widgetRect = [this](const QRect& r) {
        return QRectF(toWidget(r.topLeft()), QSizeF(r.size()) * m_scale);
    };

    QFont numberFont = font();
    numberFont.setBold(true);
    for (int i = 0; i < int(l.monitors.size()); ++i) {
        const QRectF r = widgetRect(l.monitors[i]);
        p.setPen(MonitorEdge);
        p.setBrush(MonitorFill);
        p.drawRect(r);
        numberFont.setPixelSize(std::max(10, int(r.height() / 4)));
        p.setFont(numberFont);
        p.setPen(QColor(255, 255, 255, 70));
        p.drawText(r, Qt::AlignCenter, QString::number(i + 1));
        p.setFont(font());
        p.setPen(QColor(220, 225, 235));
        p.drawText(r.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignTop,
                   QStringLiteral("%1: %2 × %3").arg(i + 1).arg(l.monitors[i].width()).arg(l.monitors[i].height()));
    }
    if (!m_storedStrip.isEmpty()) {
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(toWidget(m_storedStrip.topLeft()) - QPointF(0, 4), QStringLiteral("Saved with:"));
        QPen dashed(MonitorEdge, 1, Qt::DashLine);
        const std::vector<QRect> stored = storedMonitors(l, m_storedStrip.topLeft());
        for (int i = 0; i < int(stored.size()); ++i) {
            p.setPen(dashed);
            p.setBrush(Qt::NoBrush);
            const QRectF r = widgetRect(stored[i]);
            p.drawRect(r);
            p.setPen(palette().color(QPalette::WindowText));
            p.drawText(
                r, Qt::AlignCenter,
                QStringLiteral("%1\n%2 × %3").arg(i + 1).arg(l.stored.ScreenWidth[i]).arg(l.stored.ScreenHeight[i]));
        }
    }
    if (l.background) {
        p.setPen(QPen(QColor(200, 200, 120), 1, Qt::DashLine));
        p.setBrush(QColor(200, 200, 120, 30));
        p.drawRect(widgetRect(*l.background));
    }
    if (m_preview && m_preview->background) {
        p.setPen(QPen(PreviewFill, 2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(widgetRect(*m_preview->background));
    }

    const int selected = selectedWindow();
    for (int i = 0; i < int(l.windows.size()); ++i) {
        const PlacedWindow& w = l.windows[i];
        const bool lost = l.onNoMonitor(w);
        QColor fill = lost ? OffScreenFill : WindowFill;
        if (!w.on)
            fill.setAlpha(70);
        const QRectF r = windowRect(i);
        if (m_preview && m_preview->moved.count(i)) {
            // Before: an outline; after: where the repair puts it.
            p.setPen(QPen(fill, 1, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r);
            PlacedWindow after = w;
            after.place = m_preview->moved.at(i);
            const QRect a = l.desktopRect(after);
            const QRectF ar(toWidget(a.topLeft()), w.size.isEmpty() ? QSizeF(10, 10) : QSizeF(a.size()) * m_scale);
            p.setPen(QPen(PreviewFill.darker(150), 1));
            p.setBrush(QColor(PreviewFill.red(), PreviewFill.green(), PreviewFill.blue(), w.on ? 200 : 70));
            p.drawRect(ar);
            continue;
        }
        p.setPen(i == selected ? QPen(Qt::white, 2) : QPen(fill.darker(160), 1));
        p.setBrush(fill);
        if (w.size.isEmpty())
            p.drawEllipse(r);
        else
            p.drawRect(r);
        p.setPen(w.on ? Qt::white : QColor(255, 255, 255, 120));
        QString label = w.label;
        if (w.locked)
            label += QStringLiteral(" (locked)");
        const QRectF text = w.size.isEmpty() ? QRectF(r.right() + 3, r.top() - 4, 200, 18) : r.adjusted(3, 2, -3, -2);
        p.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label);
    }
}

void LayoutView::mousePressEvent(QMouseEvent* e)
{
    setFocus();
    const int index = windowAt(e->position());
    m_rows.select(index >= 0 ? m_controller.layout().windows[index].row : -1);
    if (index < 0 || e->button() != Qt::LeftButton || m_controller.readOnly() || m_preview)
        return;
    m_dragging = index;
    m_pressAt = e->position();
    m_dragDelta = {};
}

void LayoutView::dragTo(QPointF widgetPoint)
{
    if (m_dragging < 0)
        return;
    const QPointF moved = (widgetPoint - m_pressAt) / m_scale;
    m_dragDelta = QPoint(int(std::lround(moved.x())), int(std::lround(moved.y())));
    update();
}

void LayoutView::mouseMoveEvent(QMouseEvent* e)
{
    dragTo(e->position());
}

void LayoutView::mouseReleaseEvent(QMouseEvent*)
{
    if (m_dragging < 0)
        return;
    const int index = m_dragging;
    const QPoint to = draggedTopLeft();
    const bool moved = m_dragDelta != QPoint();
    m_dragging = -1;
    if (moved)
        move(index, to);
    update();
}

void LayoutView::keyPressEvent(QKeyEvent* e)
{
    const int step = e->modifiers() & Qt::ShiftModifier ? 10 : 1;
    QPoint delta;
    switch (e->key()) {
    case Qt::Key_Left:
        delta = {-step, 0};
        break;
    case Qt::Key_Right:
        delta = {step, 0};
        break;
    case Qt::Key_Up:
        delta = {0, -step};
        break;
    case Qt::Key_Down:
        delta = {0, step};
        break;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    const int index = selectedWindow();
    if (index < 0 || m_controller.readOnly() || m_preview)
        return;
    const PanelLayout& l = m_controller.layout();
    move(index, l.desktopRect(l.windows[index]).topLeft() + delta);
}

void LayoutView::move(int index, QPoint desktopPoint)
{
    const int row = m_controller.layout().windows[index].row;
    runGuarded(m_controller.prompter(), [&] { m_controller.moveWindow(index, desktopPoint); });
    // The rows are read again; the moved window stays selected.
    m_rows.select(row);
}
