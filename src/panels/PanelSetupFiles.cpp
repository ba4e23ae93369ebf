#include "PanelFiles.h"
#include "PanelSetupModel.h"
#include "platform/FileSystem.h"
#include "platform/IniService.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "settings/PanelNames.h"

namespace {

// The picture the panel should keep, as "PanelBGImage" stores it. A picture from elsewhere is copied into
// the panel folder; one that is already a panel's copy is referred to as it is.
QString keepBackgroundImage(FileSystem& files, const QString& folder, const QString& text)
{
    const QString fileName = storedFileName(text);
    const QString extension = extensionOf(fileName);
    const QString baseName = withoutExtension(fileName);

    if (baseName == BackgroundImageBaseName)
        return text;
    const QString copy = joinPath(folder, BackgroundImageBaseName + extension);
    if (!text.isEmpty() && files.fileExists(text)) {
        files.copyFile(text, copy, false);
        return BackgroundImageBaseName + extension;
    }
    if (files.fileExists(copy))
        files.deleteFile(copy);
    return {};
}

} // namespace

void SavePanelSetup(const Platform& platform, const QString& iniPath, const QString& name,
                    const PanelSetupModel& dialog)
{
    // Top and Left are refused here, before the picture is copied or a file written, so a bad value never
    // stops the save half-way.
    BackgroundFile background = dialog.backgroundFile(QString());

    const QString image = keepBackgroundImage(*platform.files, PanelFolder(iniPath, name), dialog.imageFile);
    background.imageFileName = image;
    WritePanelSettingsFile(*platform.ini, PanelSettingsFileName(iniPath, name), dialog.panelSettingsFile(image),
                           *platform.monitors);
    WriteBackgroundFile(*platform.ini, BackgroundSettingsFileName(iniPath, name), background);
}

void FillPanelSetup(const IniService& ini, const QString& iniPath, const QString& name, PanelSetupModel& dialog)
{
    PanelSettingsFile panel = ReadPanelSettingsFile(ini, PanelSettingsFileName(iniPath, name), name);
    panel.panelName = shownPanelName(name, panel.panelName);
    dialog.fill(panel, ReadBackgroundFile(ini, BackgroundSettingsFileName(iniPath, name)));
}
