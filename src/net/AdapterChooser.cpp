#include "AdapterChooser.h"

QString ChooseAdapter(Prompter& prompter, const QStringList& addresses)
{
    AdapterChooserModel chooser;
    chooser.entries = addresses;
    chooser.selected = addresses.isEmpty() ? -1 : 0;
    prompter.execDialog(chooser);
    return chooser.selectedText();
}
