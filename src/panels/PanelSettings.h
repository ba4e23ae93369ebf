#pragma once

#include <QString>

class IniService;
class Monitors;
struct PanelRecord;

// The panel settings file "<name>.ini", section [Config]: the loaded panel record is read from it, and the
// panel setup reads and writes it as a `PanelSettingsFile`.

// The keys the panel setup edits. "BackGroundMode" is read but never written; the monitor sizes are written
// from the monitors attached at the time, and read only into the loaded panel record.
struct PanelSettingsFile
{
    QString panelName;
    QString image; // PanelBGImage
    int backgroundColor = 0;
    bool colorMode = true; // BackGroundMode "C"
    bool showBackground = true;
    int panelMonitor = 0;
    bool showBezels = true;
    bool enableLighting = false;

    bool operator==(const PanelSettingsFile&) const = default;
};

// A missing "PanelName" reads as `defaultName`.
PanelSettingsFile ReadPanelSettingsFile(const IniService& ini, const QString& file, const QString& defaultName);
void WritePanelSettingsFile(IniService& ini, const QString& file, const PanelSettingsFile& settings,
                            const Monitors& monitors);

// Fills the record from the panel's settings file; an empty name changes nothing. The record's Name is the
// name the panel's folder carries, never the file's "PanelName": every path, command line and the last used
// panel follow it, and a file that names another panel, or a path, must not lead there. A "No_of_Screens"
// that is not a number stops the load with "'%s' is not a valid integer value" after Name and Monitor were set.
void LoadPanelSettings(const IniService& ini, const QString& iniPath, const QString& name, PanelRecord& panel);
