#pragma once

class AppSettingsFile;
class Prompter;
struct AppSettings;

// The Network Config action: shows the dialog filled from the settings; OK copies the values back and
// writes them to the application settings file, anything else changes nothing.
void runNetworkConfig(Prompter& prompter, AppSettings& settings, AppSettingsFile& file);
