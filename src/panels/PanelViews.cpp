#include "PanelViews.h"

#include "PanelChooser.h"
#include "PanelSetupModel.h"
#include "TfrmPanel.h"
#include "TfrmSelPanel.h"
#include "platform/DialogViews.h"

void registerPanelViews(DialogViews& views)
{
    views.addWindow<TfrmPanel, PanelSetupModel>();
    views.addWindow<TfrmSelPanel, PanelChooserModel>();
}
