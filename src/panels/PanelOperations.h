#pragma once

#include "LoadedPanel.h"

#include <QString>

#include <optional>

struct AppSettings;
struct Folders;
struct Platform;
class Prompter;

// The ribbon's commands on whole panels: New, Edit, Copy, Delete and Load. The loaded panel itself changes
// only through LoadedPanel, all at once.
class PanelOperations
{
public:
    PanelOperations(const Platform& platform, Prompter& prompter, const Folders& folders, const AppSettings& settings,
                    LoadedPanel& loaded)
        : m_platform(platform), m_prompter(prompter), m_folders(folders), m_settings(settings), m_loaded(loaded)
    {}

    // Deletes the named panel's folder and unloads the loaded panel.
    void RemovePanelFolder(const QString& name);

    // monitorCount: the monitors the setup dialog offers, as counted when the main window was shown.
    void aNewPanelExecute(int monitorCount);
    void aEditSettingsExecute(int monitorCount);
    void aCopyPanelExecute();
    void aDeletePanelExecute();
    void aLoadPanelExecute();

private:
    // Why `name` cannot be the name of a new panel, or nothing.
    std::optional<QString> newNameProblem(const QString& name) const;
    // Why the name cannot be a panel's (its characters, or its length in the chooser and on disk).
    std::optional<QString> nameProblem(const QString& name) const;

    const Platform& m_platform;
    Prompter& m_prompter;
    const Folders& m_folders;
    const AppSettings& m_settings;
    LoadedPanel& m_loaded;
};
