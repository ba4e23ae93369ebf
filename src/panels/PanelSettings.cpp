#include "PanelSettings.h"

#include "BackgroundSettings.h"
#include "PanelFiles.h"
#include "PanelRecord.h"
#include "PanelSetupModel.h"
#include "app/Session.h"
#include "platform/Convert.h"
#include "platform/FileSystem.h"
#include "platform/IniService.h"
#include "platform/Monitors.h"
#include "platform/Paths.h"

namespace {

const QString Config = QStringLiteral("Config");

QString screenKey(int index, const char* what)
{
    return QStringLiteral("Screen_%1_%2").arg(index).arg(QLatin1String(what));
}

// The picture the panel should keep, as "PanelBGImage" stores it. A picture from elsewhere is copied into
// the panel folder; one that is already a panel's copy is referred to as it is.
QString keepBackgroundImage(FileSystem& files, const QString& folder, const QString& text)
{
    const qsizetype nameStart = qMax(text.lastIndexOf(u'\\'), text.lastIndexOf(u'/')) + 1;
    const QString fileName = text.mid(nameStart);
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : fileName.mid(dot);
    const QString baseName = dot < 0 ? fileName : fileName.left(dot);

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

void LoadPanelSettings(const IniService& ini, const QString& iniPath, const QString& name, PanelRecord& panel)
{
    if (name.isEmpty())
        return;
    const QString file = PanelSettingsFileName(iniPath, name);
    panel.Name = ini.readString(file, Config, QStringLiteral("PanelName"), name);
    panel.Monitor = ini.readString(file, Config, QStringLiteral("PanelMonitor"), QStringLiteral("0"));
    panel.Layout.ScreenCount =
        strToInt(ini.readString(file, Config, QStringLiteral("No_of_Screens"), QStringLiteral("1")));
    // Monitors beyond the fourth are counted, never measured.
    for (int i = 0; i < panel.Layout.ScreenCount && i < MonitorLayout::MeasuredScreens; ++i) {
        panel.Layout.ScreenHeight[i] = readIniInt(ini, file, Config, screenKey(i, "Height"), 0);
        panel.Layout.ScreenWidth[i] = readIniInt(ini, file, Config, screenKey(i, "Width"), 0);
    }
    panel.ShowBezels = readIniBool(ini, file, Config, QStringLiteral("ShowBezels"), true);
    panel.EnableLighting = readIniBool(ini, file, Config, QStringLiteral("EnableLighting"), false);
    panel.ShowBackground = readIniBool(ini, file, Config, QStringLiteral("ShowBackground"), true);
}

void LoadPanelSettings(Session& session, const QString& name)
{
    LoadPanelSettings(*session.platform().ini, session.folders.IniPath, name, session.CurrentPanel);
}

void SavePanelSetup(const Platform& platform, const QString& iniPath, const QString& name,
                    const PanelSetupModel& dialog)
{
    // Both are written as numbers into the background file; refusing them here keeps a bad value from
    // stopping the save half-way.
    strToInt(dialog.top);
    strToInt(dialog.left);

    IniService& ini = *platform.ini;
    const QString folder = PanelFolder(iniPath, name);
    const QString file = PanelSettingsFileName(iniPath, name);
    const QString image = keepBackgroundImage(*platform.files, folder, dialog.imageFile);

    ini.writeString(file, Config, QStringLiteral("PanelName"), dialog.panelName);
    ini.writeString(file, Config, QStringLiteral("PanelBGImage"), image);
    writeIniInt(ini, file, Config, QStringLiteral("PanelBGColor"), dialog.backgroundColor);
    writeIniBool(ini, file, Config, QStringLiteral("ShowBackground"),
                 dialog.sizeType() != PanelSetupModel::NoBackground);
    writeIniInt(ini, file, Config, QStringLiteral("PanelMonitor"), dialog.panelMonitor());
    // The monitors attached now, which may differ from those the dialog's monitor box was filled with.
    const Monitors& monitors = *platform.monitors;
    const int count = monitors.count();
    writeIniInt(ini, file, Config, QStringLiteral("No_of_Screens"), count);
    for (int i = 0; i < count; ++i) {
        const QRect r = monitors.bounds(i);
        writeIniInt(ini, file, Config, screenKey(i, "Height"), r.height());
        writeIniInt(ini, file, Config, screenKey(i, "Width"), r.width());
    }
    writeIniBool(ini, file, Config, QStringLiteral("ShowBezels"), dialog.bezels);
    writeIniBool(ini, file, Config, QStringLiteral("EnableLighting"), dialog.lighting);

    SaveBackgroundSettings(ini, BackgroundSettingsFileName(iniPath, name), image, dialog);
}

void SavePanelSetup(Session& session, const QString& name, const PanelSetupModel& dialog)
{
    SavePanelSetup(session.platform(), session.folders.IniPath, name, dialog);
}

void FillPanelSetup(const IniService& ini, const QString& iniPath, const QString& name, PanelSetupModel& dialog)
{
    const QString file = PanelSettingsFileName(iniPath, name);
    dialog.panelName = ini.readString(file, Config, QStringLiteral("PanelName"), name);
    dialog.imageFile = ini.readString(file, Config, QStringLiteral("PanelBGImage"), QString());
    dialog.backgroundColor = readIniInt(ini, file, Config, QStringLiteral("PanelBGColor"), 0);
    dialog.bezels = readIniBool(ini, file, Config, QStringLiteral("ShowBezels"), true);
    dialog.lighting = readIniBool(ini, file, Config, QStringLiteral("EnableLighting"), false);
    const bool color =
        ini.readString(file, Config, QStringLiteral("BackGroundMode"), QStringLiteral("C")) == QLatin1String("C");
    dialog.setType(color ? PanelSetupModel::TypeColor : PanelSetupModel::TypeImage);

    FillBackgroundSettings(ini, BackgroundSettingsFileName(iniPath, name), dialog);
}

void FillPanelSetup(Session& session, const QString& name, PanelSetupModel& dialog)
{
    FillPanelSetup(*session.platform().ini, session.folders.IniPath, name, dialog);
}
