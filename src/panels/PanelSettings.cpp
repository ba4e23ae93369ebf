#include "PanelSettings.h"

#include "PanelFiles.h"
#include "PanelRecord.h"
#include "platform/Convert.h"
#include "platform/IniService.h"
#include "platform/Monitors.h"
#include "settings/PanelFolder.h"

namespace {

const QString Config = QStringLiteral("Config");

QString screenKey(int index, const char* what)
{
    return QStringLiteral("Screen_%1_%2").arg(index).arg(QLatin1String(what));
}

} // namespace

void LoadPanelSettings(const IniService& ini, const QString& iniPath, const QString& name, PanelRecord& panel)
{
    if (name.isEmpty())
        return;
    const QString file = PanelFolder(iniPath, name).settingsFile();
    panel.Name = name;
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

PanelSettingsFile ReadPanelSettingsFile(const IniService& ini, const QString& file, const QString& defaultName)
{
    const PanelSettingsFile d;
    PanelSettingsFile p;
    p.panelName = ini.readString(file, Config, QStringLiteral("PanelName"), defaultName);
    p.image = ini.readString(file, Config, QStringLiteral("PanelBGImage"), QString());
    p.backgroundColor = readIniInt(ini, file, Config, QStringLiteral("PanelBGColor"), d.backgroundColor);
    p.colorMode =
        ini.readString(file, Config, QStringLiteral("BackGroundMode"), QStringLiteral("C")) == QLatin1String("C");
    p.showBackground = readIniBool(ini, file, Config, QStringLiteral("ShowBackground"), d.showBackground);
    p.panelMonitor = readIniInt(ini, file, Config, QStringLiteral("PanelMonitor"), d.panelMonitor);
    p.showBezels = readIniBool(ini, file, Config, QStringLiteral("ShowBezels"), d.showBezels);
    p.enableLighting = readIniBool(ini, file, Config, QStringLiteral("EnableLighting"), d.enableLighting);
    return p;
}

void WritePanelSettingsFile(IniService& ini, const QString& file, const PanelSettingsFile& p, const Monitors& monitors)
{
    ini.writeString(file, Config, QStringLiteral("PanelName"), p.panelName);
    ini.writeString(file, Config, QStringLiteral("PanelBGImage"), p.image);
    writeIniInt(ini, file, Config, QStringLiteral("PanelBGColor"), p.backgroundColor);
    writeIniBool(ini, file, Config, QStringLiteral("ShowBackground"), p.showBackground);
    writeIniInt(ini, file, Config, QStringLiteral("PanelMonitor"), p.panelMonitor);
    const int count = monitors.count();
    writeIniInt(ini, file, Config, QStringLiteral("No_of_Screens"), count);
    for (int i = 0; i < count; ++i) {
        const QRect r = monitors.bounds(i);
        writeIniInt(ini, file, Config, screenKey(i, "Height"), r.height());
        writeIniInt(ini, file, Config, screenKey(i, "Width"), r.width());
    }
    writeIniBool(ini, file, Config, QStringLiteral("ShowBezels"), p.showBezels);
    writeIniBool(ini, file, Config, QStringLiteral("EnableLighting"), p.enableLighting);
}
