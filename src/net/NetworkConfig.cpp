#include "NetworkConfig.h"

#include "NetworkConfigModel.h"
#include "settings/AppSettings.h"

void runNetworkConfig(Prompter& prompter, AppSettings& settings, AppSettingsFile& file)
{
    NetworkConfigModel dialog;
    dialog.fill(settings);
    if (!prompter.execDialog(dialog))
        return;
    // Copied before writing: a refused write leaves the new values in effect for this run.
    dialog.copyTo(settings);
    file.SaveNetworkSettings(settings);
}
