#include "InstrumentViews.h"

#include "Add3rdPartyModel.h"
#include "AddInstrumentModel.h"
#include "TfrmAdd3rdParty.h"
#include "TfrmAddInstrument.h"
#include "platform/DialogViews.h"

void registerInstrumentViews(DialogViews& views)
{
    views.addWindow<TfrmAddInstrument, AddInstrumentModel>();
    views.addWindow<TfrmAdd3rdParty, Add3rdPartyModel>();
}
