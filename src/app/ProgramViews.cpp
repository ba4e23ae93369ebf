#include "ProgramViews.h"

#include "exchange/ExchangeViews.h"
#include "instruments/InstrumentViews.h"
#include "net/NetViews.h"
#include "panels/PanelViews.h"

DialogViews programViews()
{
    DialogViews views;
    registerPanelViews(views);
    registerInstrumentViews(views);
    registerNetViews(views);
    registerExchangeViews(views);
    return views;
}
