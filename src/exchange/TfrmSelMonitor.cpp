#include "TfrmSelMonitor.h"

#include "SendToMonitor.h"
#include "platform/FitToText.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

TfrmSelMonitor::TfrmSelMonitor(MonitorChooserModel& model, QWidget* parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("frmSelMonitor"));
    setWindowTitle(QStringLiteral("Select Monitor"));
    setModal(true);
    setFixedSize(307, 117);

    auto* prompt = new QLabel(QStringLiteral("Select which monitor to display the instruments on."), this);
    QFont bold = prompt->font();
    bold.setBold(true);
    prompt->setFont(bold);
    prompt->setGeometry(8, 8, 291, 18);

    auto* frame = new QGroupBox(QStringLiteral("Monitor"), this);
    frame->setObjectName(QStringLiteral("gbMonitor"));
    frame->setGeometry(8, 30, 291, 48);
    // Only listed monitors can be chosen: a typed number could name none.
    m_cbMonitor = new QComboBox(frame);
    m_cbMonitor->setObjectName(QStringLiteral("cbMonitor"));
    m_cbMonitor->setEditable(false);
    m_cbMonitor->setGeometry(12, 18, 100, 22);
    m_cbMonitor->addItems(model.monitors);
    m_cbMonitor->setCurrentIndex(model.hasSelection() ? model.selected : -1);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("bbOK"));
    ok->setGeometry(143, 86, 75, 25);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("bbCancel"));
    cancel->setGeometry(224, 86, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject); // Escape rejects as well

    widenToFitText(this);
    frame->resize(width() - 16, frame->height()); // a group box is no frame to the widening
    if (parent)
        move(parent->geometry().center() - rect().center());
    connect(this, &QDialog::finished, this, [this, &model] { model.selected = m_cbMonitor->currentIndex(); });
}
