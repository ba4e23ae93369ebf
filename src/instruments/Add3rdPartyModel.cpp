#include "Add3rdPartyModel.h"

const QString Add3rdPartyModel::Caption = QStringLiteral("Add 3rd Party Application");

FileDialogRequest Add3rdPartyModel::openExeRequest()
{
    FileDialogRequest r;
    r.title = QStringLiteral("Select Application");
    r.filter = QStringLiteral("Executable Files (*.exe)|*.exe|Command Files (*.cmd)|*.cmd");
    r.defaultExtension = QStringLiteral("exe");
    return r;
}

void Add3rdPartyModel::btnImageClick()
{
    if (const auto path = m_prompter.openFileName(openExeRequest()))
        edAppName = *path;
}
