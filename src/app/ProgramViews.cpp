#include "ProgramViews.h"

#include "LogViewModel.h"
#include "TfrmLog.h"
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
    views.addWindow<TfrmLog, LogViewModel>();
    return views;
}
