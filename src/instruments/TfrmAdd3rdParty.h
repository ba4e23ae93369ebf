#pragma once

#include <QDialog>

class Add3rdPartyModel;
class QLineEdit;
class QToolButton;

// "Add 3rd Party Application": the window over an Add3rdPartyModel.
class TfrmAdd3rdParty : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmAdd3rdParty(Add3rdPartyModel& model, QWidget* parent = nullptr);

private:
    Add3rdPartyModel& m_model;
    QLineEdit* m_edAppName;
    QToolButton* m_btnImage;
    QLineEdit* m_edParameters;
};
