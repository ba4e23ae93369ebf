#pragma once

#include <QDialog>

class NetworkConfigModel;
class QCheckBox;
class QLineEdit;

// "Varnolt Network Config": a view over NetworkConfigModel, which it reads when built and updates on OK.
class TfrmSetPort : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmSetPort(NetworkConfigModel& model, QWidget* parent = nullptr);

    void accept() override;

private:
    void cbPanelSwitchingClick(bool checked);

    NetworkConfigModel& m_model;
    QLineEdit* m_edMulti;
    QLineEdit* m_edIPAddress;
    QLineEdit* m_edPort;
    QLineEdit* m_edDCSPort;
    QCheckBox* m_cbPanelSwitching;
    QCheckBox* m_cbAutoStart;
    QCheckBox* m_cbMonitorChecking;
    QCheckBox* m_cbDeclutter;
};
