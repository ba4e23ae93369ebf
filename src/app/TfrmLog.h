#pragma once

#include <QDialog>

class LogViewModel;
class QPlainTextEdit;

// The log viewer: the log's text, read-only, scrolled to its newest line, with Refresh and Close.
class TfrmLog : public QDialog
{
    Q_OBJECT

public:
    TfrmLog(LogViewModel& model, QWidget* parent);

private:
    void showText();

    LogViewModel& m_model;
    QPlainTextEdit* m_text;
};
