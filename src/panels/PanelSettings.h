#pragma once

#include <QString>

class IniService;
class PanelSetupModel;
class Session;
struct PanelRecord;
struct Platform;

// The panel settings file "<name>.ini", section [Config], between the files, the loaded panel record and
// the panel setup dialog. Each operation names the panel; paths come from the settings folder.

// Fills the record from the panel's settings file; an empty name changes nothing. A "No_of_Screens" that
// is not a number stops the load with "'%s' is not a valid integer value" after Name and Monitor were set.
void LoadPanelSettings(const IniService& ini, const QString& iniPath, const QString& name, PanelRecord& panel);
void LoadPanelSettings(Session& session, const QString& name); // into session.CurrentPanel

// Writes the confirmed dialog to the panel settings file, then to the background settings file, and keeps
// the panel's copy of its background picture. The panel folder must exist ("Unable to write to %s").
// Top and Left that are not whole numbers are refused before anything is written or copied.
void SavePanelSetup(const Platform& platform, const QString& iniPath, const QString& name,
                    const PanelSetupModel& dialog);
void SavePanelSetup(Session& session, const QString& name, const PanelSetupModel& dialog);

// Sets the dialog's controls from the panel settings file, then the background settings file; call it
// after the monitor box was filled and before the dialog is shown.
void FillPanelSetup(const IniService& ini, const QString& iniPath, const QString& name, PanelSetupModel& dialog);
void FillPanelSetup(Session& session, const QString& name, PanelSetupModel& dialog);
