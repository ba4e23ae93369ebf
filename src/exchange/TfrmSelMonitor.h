#pragma once

#include <QDialog>

class MonitorChooserModel;
class QComboBox;

// "Select Monitor": the monitors as "1", "2", ... in a list that takes no typed text, OK as the default
// button, Cancel on Escape. The chosen entry goes back into the model when the dialog closes.
class TfrmSelMonitor : public QDialog
{
    Q_OBJECT

public:
    TfrmSelMonitor(MonitorChooserModel& model, QWidget* parent = nullptr);

    QComboBox* cbMonitor() const { return m_cbMonitor; }

private:
    QComboBox* m_cbMonitor;
};
