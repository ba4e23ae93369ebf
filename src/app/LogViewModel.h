#pragma once

#include "platform/Prompter.h"

#include <QString>

// What the log viewer shows: the log file and the one it replaced, oldest line first.
class LogViewModel : public DialogModel
{
public:
    explicit LogViewModel(QString path);

    const QString& path() const { return m_path; }
    const QString& text() const { return m_text; }
    // Reads the files again, for a viewer left open while the program runs on.
    void reload();

private:
    QString m_path;
    QString m_text;
};
