#include "RecordingSeams.h"

#include "platform/Errors.h"

void RecordingSeams::SaveInstrumentList(const QString& name)
{
    calls << QStringLiteral("SaveInstrumentList(%1)").arg(name);
    if (failSave)
        throw VarnoltError(QStringLiteral("Unable to write to list"));
}
