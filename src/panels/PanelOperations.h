#pragma once

#include "LoadedPanel.h"
#include "settings/PanelFolderIndex.h"

#include <QString>
#include <QStringList>

#include <optional>

struct AppSettings;
struct Folders;
struct Platform;
class Prompter;

// The operations on whole panels: listing, finding, and the ribbon's New, Edit, Copy, Delete and Load.
// The loaded panel itself changes only through LoadedPanel, all at once.
class PanelOperations
{
public:
    PanelOperations(const Platform& platform, Prompter& prompter, const Folders& folders, const AppSettings& settings,
                    LoadedPanel& loaded)
        : m_platform(platform), m_prompter(prompter), m_folders(folders), m_settings(settings), m_loaded(loaded)
    {}

    // The panel names of the entries of `folder` matching `pattern`: each without its "Panel_", leaving out
    // hidden entries and those whose name breaks the panel name rule.
    QStringList ListPanels(const QString& folder, const QString& pattern) const;

    // The exact folder test, or with `search` the first plain folder whose name contains `name`: the panel's
    // name, or nothing. Reads no file.
    std::optional<QString> lookup(const QString& name, bool search);

    void RemovePanelFolder(const QString& name);
    // Opens the named panel (exact folder) and returns its name; one not found is reported and leaves no
    // panel loaded, returning empty. A panel that cannot be read leaves the previous one loaded.
    QString openOrForget(const QString& name, const OpenOptions& options);

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
    // Deletes the files directly in a panel's folder, then the folder; failures are silent.
    void deletePanelFiles(const QString& name);

    const Platform& m_platform;
    Prompter& m_prompter;
    const Folders& m_folders;
    const AppSettings& m_settings;
    LoadedPanel& m_loaded;
    PanelFolderIndex m_folderIndex;
};
