#pragma once

#include <QDialog>

class PanelChooserModel;
class QListWidget;

// "Panels available": an unsorted list, OK as the default button, Cancel on Escape, double click is OK.
// The chosen entry goes back into the model when the dialog closes.
class TfrmSelPanel : public QDialog
{
    Q_OBJECT

public:
    TfrmSelPanel(PanelChooserModel& model, QWidget* parent = nullptr);

    QListWidget* lvPanels() const { return m_lvPanels; }

private:
    void lvPanelsDblClick() { accept(); }

    PanelChooserModel& m_model;
    QListWidget* m_lvPanels;
};
