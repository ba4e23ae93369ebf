#pragma once

#include <QWidget>

class InstrumentListModel;
class LayoutController;
class LayoutView;
class QAction;
class QLabel;
class QPushButton;
class QWidget;

// The layout view's window: a header that says what is shown (and why nothing can be moved while the panel
// runs), the tools (Undo, Redo, Snap, Identify Monitors, Fit to These Monitors) and the view.
class LayoutWindow : public QWidget
{
    Q_OBJECT

public:
    LayoutWindow(LayoutController& controller, InstrumentListModel& rows, QWidget* parent = nullptr);

    LayoutView* view() const { return m_view; }
    QAction* tool(const QString& objectName) const;

private:
    void updateState();
    void proposeFit();
    void endPreview(bool apply);

    LayoutController& m_controller;
    LayoutView* m_view = nullptr;
    QLabel* m_header = nullptr;
    QWidget* m_previewBar = nullptr;
    QLabel* m_previewText = nullptr;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    QAction* m_snap = nullptr;
    QAction* m_identify = nullptr;
    QAction* m_fit = nullptr;
};
