#pragma once

#include "platform/Prompter.h"

#include <QStringList>

// The adapter chooser's state: the addresses offered and the one picked (-1 when the list is empty).
class AdapterChooserModel : public DialogModel
{
public:
    QStringList entries;
    int selected = -1;

    QString selectedText() const { return selected >= 0 && selected < entries.size() ? entries[selected] : QString(); }
};

// Lets the user pick one of the local addresses, the first one preselected. However the chooser is closed,
// the address selected then is the answer.
QString ChooseAdapter(Prompter& prompter, const QStringList& addresses);
