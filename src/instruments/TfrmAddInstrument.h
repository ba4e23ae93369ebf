#pragma once

#include <QDialog>

class AddInstrumentModel;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QWidget;

// "Add Instrument" / "Edit Instrument": the window over an AddInstrumentModel. User changes go into the
// model, its reaction runs, and the window shows the model again. In edit mode only the detail pane shows.
class TfrmAddInstrument : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmAddInstrument(AddInstrumentModel& model, QWidget* parent = nullptr);

    void refresh();

private:
    void build();
    void wire();
    void fillList();
    template <typename F> void react(F&& reaction);

    AddInstrumentModel& m_model;
    bool m_refreshing = false;
    int m_clientHeight = 0;
    QSize m_imageSize;
    int m_shownGeneration = -1;

    QWidget* m_browser;
    QLabel* m_edImage;
    QLabel* m_lName;
    QLineEdit* m_edLong;
    QPlainTextEdit* m_edDescription;
    QLineEdit* m_edPort;
    QLineEdit* m_edPathName;
    QComboBox* m_cbInstrumentSet;
    QTreeWidget* m_lvInstruments;
    QButtonGroup* m_rgType;
    QPushButton* m_bbOK;
    QPushButton* m_bbCancel;
};
