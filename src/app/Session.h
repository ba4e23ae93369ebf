#pragma once

#include "panels/LoadedPanel.h"
#include "panels/MonitorLayout.h"
#include "platform/Platform.h"
#include "settings/AppSettings.h"
#include "settings/Folders.h"
#include "settings/PanelFolders.h"

#include <QString>

class Prompter;

// The program-wide state the main window owns: folders, settings, the adapter in use, the monitors seen at
// start-up and the loaded panel. The application layer hands each subsystem the parts it uses.
class Session
{
public:
    Session(const Platform& platform, Prompter& prompter);

    const Platform& platform() const { return m_platform; }
    Prompter& prompter() const { return m_prompter; }
    LoadedPanel& loaded() { return m_loaded; }
    const LoadedPanel& loaded() const { return m_loaded; }

    AppSettingsFile settingsFile() const;
    // The caption area of the ribbon: the document name followed by the ribbon's caption.
    QString ribbonTitle() const;

    Folders folders;
    AppSettings settings;
    QString LocalIPAddressToUse = QStringLiteral("Auto");
    MonitorLayout StartupLayout;
    int MonitorCount = 0; // counted when the main window is shown

private:
    const Platform m_platform;
    Prompter& m_prompter;
    PanelFolders m_panels;
    LoadedPanel m_loaded;
};

inline const QString RibbonCaption = QStringLiteral("Varnolt Professional");
