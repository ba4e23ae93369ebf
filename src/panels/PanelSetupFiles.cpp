#include "PanelSetupModel.h"
#include "platform/FileSystem.h"
#include "platform/IniService.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "settings/PanelFolder.h"
#include "settings/PanelNames.h"

namespace {

// The picture the panel should keep, as "PanelBGImage" stores it. A picture from elsewhere is copied into
// the panel folder; one that is already a panel's copy is referred to as it is.
QString keepBackgroundImage(FileSystem& files, const PanelFolder& folder, const QString& text)
{
    const QString fileName = storedFileName(text);
    const QString extension = extensionOf(fileName);
    const QString baseName = withoutExtension(fileName);

    // The stored text, not a file of the folder: it names the copy exactly as this program wrote it.
    if (baseName == PanelFolder::BackgroundPictureBaseName)
        return text;
    const QString copy = folder.pictureCopy(extension);
    if (!text.isEmpty() && files.fileExists(text)) {
        files.copyFile(text, copy, false);
        return PanelFolder::BackgroundPictureBaseName + extension;
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

    const PanelFolder folder(iniPath, name);
    const QString image = keepBackgroundImage(*platform.files, folder, dialog.imageFile);
    background.imageFileName = image;
    WritePanelSettingsFile(*platform.ini, folder.settingsFile(), dialog.panelSettingsFile(image), *platform.monitors);
    WriteBackgroundFile(*platform.ini, folder.backgroundSettingsFile(), background);
}

void FillPanelSetup(const IniService& ini, const QString& iniPath, const QString& name, PanelSetupModel& dialog)
{
    const PanelFolder folder(iniPath, name);
    PanelSettingsFile panel = ReadPanelSettingsFile(ini, folder.settingsFile(), name);
    panel.panelName = shownPanelName(name, panel.panelName);
    dialog.fill(panel, ReadBackgroundFile(ini, folder.backgroundSettingsFile()));
}
