#include "RecordingSeams.h"

#include "panels/LoadedPanel.h"
#include "platform/Errors.h"

bool RecordingSeams::OpenPanel(LoadedPanel& panel, const QString& name)
{
    calls << QStringLiteral("OpenPanel(%1)").arg(name);
    if (unreadablePanels.contains(name))
        throw VarnoltError(
            QStringLiteral("Line 3 of \"%1.cfg\" does not hold the eight fields of an instrument").arg(name));
    if (!existingPanels.contains(name))
        return false;
    PanelRecord record;
    record.Name = name;
    panel.commit({name, record, {}, name});
    return true;
}

void RecordingSeams::SaveLoadedPanel(LoadedPanel& panel)
{
    calls << QStringLiteral("SaveLoadedPanel(%1)").arg(panel.name());
    if (failSave)
        throw VarnoltError(QStringLiteral("Unable to write to list"));
}
