#include "TfrmSetPort.h"

#include "NetworkConfigModel.h"
#include "platform/FitToText.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

template <typename W> W* place(W* widget, const char* objectName, int x, int y, int w, int h)
{
    widget->setObjectName(QString::fromLatin1(objectName));
    widget->setGeometry(x, y, w, h);
    return widget;
}

} // namespace

TfrmSetPort::TfrmSetPort(NetworkConfigModel& model, QWidget* parent) : QDialog(parent, Qt::Tool), m_model(model)
{
    setObjectName(QStringLiteral("frmSetPort"));
    setWindowTitle(QStringLiteral("Varnolt Network Config"));
    resize(246, 372);

    auto* frame = place(new QFrame(this), "Panel1", 8, 8, 230, 318);
    frame->setFrameShape(QFrame::StyledPanel);

    const auto edit = [frame](const char* name, const char* label, int y) {
        place(new QLabel(QString::fromLatin1(label), frame), "", 12, y, 210, 16);
        return place(new QLineEdit(frame), name, 12, y + 17, 206, 22);
    };
    m_edMulti = edit("edMulti", "Multicast Group Address (Instruments)", 8);
    m_edIPAddress = edit("edIPAddress", "IP Address (DCS Interface)", 54);
    m_edPort = edit("edPort", "Listen Port No (Varnolt)", 100);
    m_edDCSPort = edit("edDCSPort", "Flight Sim Port No  (DCS Interface)", 146);

    m_cbPanelSwitching =
        place(new QCheckBox(QStringLiteral("Enable Panel Switching"), frame), "cbPanelSwitching", 12, 196, 206, 20);
    m_cbAutoStart =
        place(new QCheckBox(QStringLiteral("Autostart with Flight Sim"), frame), "cbAutoStart", 32, 220, 186, 20);
    m_cbAutoStart->setEnabled(false);
    m_cbDeclutter =
        place(new QCheckBox(QStringLiteral("De-clutter desktop on start"), frame), "cbDeclutter", 12, 268, 206, 20);
    m_cbDeclutter->setToolTip(QStringLiteral(
        "Shows the bare desktop while a panel runs and brings the windows back when it stops, where the window "
        "manager allows it"));
    // Lies on the window, not in the frame, lined up between the autostart and de-clutter boxes.
    m_cbMonitorChecking = place(new QCheckBox(QStringLiteral("Enable Monitor Checking"), this), "cbMonitorChecking",
                                frame->x() + 12, frame->y() + 244, 206, 20);
    m_cbMonitorChecking->setToolTip(
        QStringLiteral("Enables the ckecking of current monitors with configured panel monitors"));
    m_cbMonitorChecking->raise();

    auto* ok = place(new QPushButton(QStringLiteral("OK"), this), "bbOK", 40, 337, 75, 25);
    auto* cancel = place(new QPushButton(QStringLiteral("Cancel"), this), "bbCancel", 131, 337, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    widenToFitText(this);

    // Top to bottom as shown; the monitor checking box, a child of the window, would otherwise come last.
    QWidget* const order[] = {m_edMulti,     m_edIPAddress,       m_edPort,      m_edDCSPort, m_cbPanelSwitching,
                              m_cbAutoStart, m_cbMonitorChecking, m_cbDeclutter, ok,          cancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_cbPanelSwitching, &QCheckBox::toggled, this, &TfrmSetPort::cbPanelSwitchingClick);

    m_edPort->setText(model.listenPort);
    m_edDCSPort->setText(model.flightSimPort);
    m_edMulti->setText(model.multicastGroup);
    m_edIPAddress->setText(model.flightSimIPAddress);
    m_cbPanelSwitching->setChecked(model.panelSwitching());
    m_cbAutoStart->setEnabled(model.autoStartEnabled());
    m_cbMonitorChecking->setChecked(model.monitorChecking);
    m_cbDeclutter->setChecked(model.declutterDesktop);
    m_cbAutoStart->setChecked(model.autoStart);
}

void TfrmSetPort::cbPanelSwitchingClick(bool checked)
{
    m_model.setPanelSwitching(checked);
    m_cbAutoStart->setEnabled(m_model.autoStartEnabled());
}

void TfrmSetPort::accept()
{
    m_model.listenPort = m_edPort->text();
    m_model.multicastGroup = m_edMulti->text();
    m_model.flightSimPort = m_edDCSPort->text();
    m_model.flightSimIPAddress = m_edIPAddress->text();
    m_model.setPanelSwitching(m_cbPanelSwitching->isChecked());
    m_model.monitorChecking = m_cbMonitorChecking->isChecked();
    m_model.declutterDesktop = m_cbDeclutter->isChecked();
    m_model.autoStart = m_cbAutoStart->isChecked();
    QDialog::accept();
}
