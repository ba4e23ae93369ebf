#pragma once

#include <QString>

class IniService;
class PanelSetupModel;

// Colours of the background settings file: a colour name where the value has one, else "$" and eight
// upper-case hex digits. Values are 0x00BBGGRR; a top byte of FF marks a system colour.
QString colorToText(int color);
// Names in any letter case; any other text must be an integer ("'%s' is not a valid integer value").
int textToColor(const QString& text);

// The background program's half of saving and filling the panel setup dialog. imageValue is what the
// panel settings file stores as the picture; Top and Left must be whole numbers.
void SaveBackgroundSettings(IniService& ini, const QString& file, const QString& imageValue,
                            const PanelSetupModel& dialog);
void FillBackgroundSettings(const IniService& ini, const QString& file, PanelSetupModel& dialog);
