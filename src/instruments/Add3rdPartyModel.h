#pragma once

#include "platform/Prompter.h"

#include <QString>

// The 3rd party dialog: an application's path and its comma-separated command-line parameters. A fresh one
// is made for every use; the entries are taken as typed, an empty path included.
class Add3rdPartyModel : public DialogModel
{
public:
    static const QString Caption; // "Add 3rd Party Application", also when editing

    explicit Add3rdPartyModel(Prompter& prompter) : m_prompter(prompter) {}

    // Browse: a chosen file replaces the path; the parameters stay.
    void btnImageClick();
    static FileDialogRequest openExeRequest();

    QString caption = Caption;
    QString edAppName;
    QString edParameters;

private:
    Prompter& m_prompter;
};
