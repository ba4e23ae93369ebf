#include "ExchangeViews.h"

#include "SendToMonitor.h"
#include "TfrmSelMonitor.h"
#include "platform/DialogViews.h"

void registerExchangeViews(DialogViews& views)
{
    views.addWindow<TfrmSelMonitor, MonitorChooserModel>();
}
