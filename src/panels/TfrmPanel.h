#pragma once

#include <QComboBox>
#include <QDialog>

class PanelSetupModel;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

// A drop-down box that tells when its list closes, whether or not the choice changed.
class CloseUpComboBox : public QComboBox
{
    Q_OBJECT

public:
    using QComboBox::QComboBox;
    void hidePopup() override;

signals:
    void closedUp();
};

// "Panel Setup": the window over a PanelSetupModel. Every user change goes into the model, the model's
// reaction runs, and the window shows the model's state again.
class TfrmPanel : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmPanel(PanelSetupModel& model, QWidget* parent = nullptr);

    // Shows the model's values, visibility and enabled states.
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void build();
    void wire();
    // Runs a model reaction started by the user, then shows the outcome.
    template <typename F> void react(F&& reaction);

    PanelSetupModel& m_model;
    bool m_shown = false;

    QLineEdit* m_edPanelName;
    QCheckBox* m_cbBezels;
    QCheckBox* m_cbLighting;
    QButtonGroup* m_rgType;
    QGroupBox* m_gbColor;
    QLabel* m_sBGColor;
    QToolButton* m_btnColor;
    QCheckBox* m_cbShowFrame;
    QToolButton* m_pColorFrame;
    QSpinBox* m_edPixels;
    QCheckBox* m_cbShowGrid;
    QSpinBox* m_edGrid;
    QGroupBox* m_gbImage;
    QLineEdit* m_edBGImage;
    QToolButton* m_btnImage;
    QCheckBox* m_cbImageSize;
    QButtonGroup* m_rgSizeType;
    QLabel* m_lMonitor;
    CloseUpComboBox* m_cbMonitor;
    QLabel* m_lWidth;
    QLineEdit* m_edWidth;
    QLabel* m_lBy;
    QLabel* m_lHeight;
    QLineEdit* m_edHeight;
    QLabel* m_lTop;
    QLineEdit* m_edTop;
    QLabel* m_lLeft;
    QLineEdit* m_edLeft;
    QPushButton* m_bbOK;
    QPushButton* m_bbCancel;
};
