#pragma once

#include <QDialog>

class AdapterChooserModel;
class DialogHost;
class QComboBox;

// "Select Network Adapter": made once and reused; it keeps the entries and the selection of its last use until
// the next one replaces them.
class TfrmSelAdapter : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmSelAdapter(QWidget* parent = nullptr);

    // Shows the model's entries with its selection and stores the selection back, however it was closed.
    void choose(AdapterChooserModel& model, DialogHost& host);

    QComboBox* dropdownAdapters() const { return m_dropdownAdapters; }

private:
    QComboBox* m_dropdownAdapters;
};
