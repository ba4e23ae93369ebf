#pragma once

#include "LoadedPanel.h"
#include "PanelFolderIndex.h"

#include <QString>
#include <QStringList>

#include <optional>

class Session;

// The operations on whole panels: listing, finding, and the ribbon's New, Edit, Copy, Delete and Load.
// The loaded panel itself changes only through LoadedPanel, all at once.
class PanelOperations
{
public:
    explicit PanelOperations(Session& session) : m_session(session) {}

    // Names of the entries of `folder` matching `pattern`, without their first six characters, cut to 99.
    QStringList ListPanels(const QString& folder, const QString& pattern) const;

    // The exact folder test, or with `search` the first plain folder whose name contains `name`: the panel's
    // name, or nothing. Reads no file.
    std::optional<QString> lookup(const QString& name, bool search);
    // lookup, then the found panel's rows read into the loaded panel's list; a missing panel is reported
    // when asked. A list that cannot be read throws.
    bool FindPanel(const QString& name, bool report, bool search, QString& foundName);

    void RemovePanelFolder(const QString& name);
    // Opens the named panel (exact folder) and returns its name; one not found is reported and leaves no
    // panel loaded, returning empty. A panel that cannot be read leaves the previous one loaded.
    QString openOrForget(const QString& name, const OpenOptions& options);

    void aNewPanelExecute();
    void aEditSettingsExecute();
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

    Session& m_session;
    PanelFolderIndex m_folderIndex;
};
