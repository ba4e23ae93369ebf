#pragma once

#include "platform/Prompter.h"

#include <QStringList>

// The state of the panel chooser "Panels available": the names in the order they were listed, and the
// selected entry.
class PanelChooserModel : public DialogModel
{
public:
    QStringList panels;
    int selected = -1;

    bool hasSelection() const { return selected >= 0 && selected < panels.size(); }
    QString selectedName() const { return hasSelection() ? panels.at(selected) : QString(); }
};
