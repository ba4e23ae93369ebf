#include "LayoutWindow.h"

#include "IdentifyMonitors.h"
#include "LayoutController.h"
#include "LayoutView.h"
#include "platform/Prompter.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QAction* makeTool(QWidget* owner, const char* objectName, const QString& text, const QKeySequence& key = {})
{
    auto* a = new QAction(text, owner);
    a->setObjectName(QString::fromLatin1(objectName));
    if (!key.isEmpty()) {
        a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
    }
    return a;
}

} // namespace

LayoutWindow::LayoutWindow(LayoutController& controller, InstrumentListModel& rows, QWidget* parent)
    : QWidget(parent, Qt::Window), m_controller(controller)
{
    setObjectName(QStringLiteral("frmLayout"));
    setWindowTitle(QStringLiteral("Layout"));
    resize(760, 480);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("layoutTools"));
    m_undo = makeTool(this, "aLayoutUndo", QStringLiteral("&Undo"), QKeySequence::Undo);
    m_redo = makeTool(this, "aLayoutRedo", QStringLiteral("&Redo"), QKeySequence::Redo);
    m_snap = makeTool(this, "aLayoutSnap", QStringLiteral("S&nap to Edges"));
    m_snap->setCheckable(true);
    m_snap->setChecked(true);
    m_identify = makeTool(this, "aIdentifyMonitors", QStringLiteral("&Identify Monitors"));
    m_fit = makeTool(this, "aFitToMonitors", QStringLiteral("&Fit to These Monitors"));
    for (QAction* a : {m_undo, m_redo, m_snap, m_identify, m_fit})
        tools->addAction(a);
    layout->addWidget(tools);

    m_header = new QLabel(this);
    m_header->setObjectName(QStringLiteral("layoutHeader"));
    m_header->setWordWrap(true);
    layout->addWidget(m_header);

    m_previewBar = new QWidget(this);
    auto* bar = new QHBoxLayout(m_previewBar);
    bar->setContentsMargins(0, 0, 0, 0);
    m_previewText = new QLabel(m_previewBar);
    m_previewText->setWordWrap(true);
    auto* apply = new QPushButton(QStringLiteral("&Apply"), m_previewBar);
    apply->setObjectName(QStringLiteral("btnApplyFit"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), m_previewBar);
    cancel->setObjectName(QStringLiteral("btnCancelFit"));
    bar->addWidget(m_previewText, 1);
    bar->addWidget(apply);
    bar->addWidget(cancel);
    m_previewBar->hide();
    layout->addWidget(m_previewBar);

    m_view = new LayoutView(controller, rows, this);
    layout->addWidget(m_view, 1);

    Prompter& prompter = controller.prompter();
    connect(m_undo, &QAction::triggered, this,
            [this, &prompter] { runGuarded(prompter, [this] { m_controller.undo(); }); });
    connect(m_redo, &QAction::triggered, this,
            [this, &prompter] { runGuarded(prompter, [this] { m_controller.redo(); }); });
    connect(m_snap, &QAction::toggled, m_view, &LayoutView::setSnapping);
    connect(m_identify, &QAction::triggered, this, [this] { identifyMonitors(this); });
    connect(m_fit, &QAction::triggered, this, &LayoutWindow::proposeFit);
    connect(apply, &QPushButton::clicked, this, [this] { endPreview(true); });
    connect(cancel, &QPushButton::clicked, this, [this] { endPreview(false); });
    connect(&controller, &LayoutController::changed, this, &LayoutWindow::updateState);
    updateState();
}

QAction* LayoutWindow::tool(const QString& objectName) const
{
    return findChild<QAction*>(objectName);
}

void LayoutWindow::updateState()
{
    const PanelLayout& l = m_controller.layout();
    const bool running = m_controller.running();
    QStringList parts;
    parts << (m_controller.panelName().isEmpty() ? QStringLiteral("No panel loaded")
                                                 : QStringLiteral("Panel %1").arg(m_controller.panelName()));
    parts << QStringLiteral("%1 monitor(s), %2 window(s)").arg(l.monitors.size()).arg(l.windows.size());
    if (const int lost = l.offScreenCount())
        parts << QStringLiteral("<span style='color:#d03030'><b>%1 on no monitor</b></span>").arg(lost);
    if (l.unplaced)
        parts << QStringLiteral("%1 not placed yet (placed when first started)").arg(l.unplaced);
    QString text = parts.join(QStringLiteral(" · "));
    if (running)
        text += QStringLiteral("<br><b>%1</b>").arg(RunningReadOnlyText.toHtmlEscaped());
    m_header->setText(text);
    setWindowTitle(m_controller.panelName().isEmpty() ? QStringLiteral("Layout")
                                                      : QStringLiteral("Layout - %1").arg(m_controller.panelName()));

    const bool editable = !m_controller.readOnly() && !m_previewBar->isVisible();
    m_undo->setEnabled(editable && m_controller.history().canUndo());
    m_redo->setEnabled(editable && m_controller.history().canRedo());
    m_undo->setToolTip(m_controller.history().undoText());
    m_redo->setToolTip(m_controller.history().redoText());
    m_fit->setEnabled(editable);
}

void LayoutWindow::proposeFit()
{
    FitPlan plan;
    if (!runGuarded(m_controller.prompter(), [&] { plan = m_controller.planFit(); }))
        return;
    if (plan.empty()) {
        m_controller.prompter().message(MessageKind::Information,
                                        QStringLiteral("The panel already fits these monitors."));
        return;
    }
    m_previewText->setText(
        QStringLiteral("Fit to these monitors: %1 window(s) move (green), %2 file(s) change. Undo takes it back.")
            .arg(plan.moved.size())
            .arg(plan.writes.size()));
    m_view->setPreview(std::move(plan));
    m_previewBar->show();
    updateState();
}

void LayoutWindow::endPreview(bool apply)
{
    m_previewBar->hide();
    if (apply) {
        // Planned again: a child or the list may have changed a file since the preview was made.
        runGuarded(m_controller.prompter(), [this] { m_controller.applyFit(m_controller.planFit()); });
    }
    m_view->setPreview(std::nullopt);
    updateState();
}
