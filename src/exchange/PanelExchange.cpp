#include "PanelExchange.h"

#include "PanelArchive.h"

#include "panels/LoadedPanel.h"
#include "panels/PanelSettings.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/IniService.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"
#include "settings/Folders.h"
#include "settings/PanelFolder.h"
#include "settings/PanelNames.h"

#include <QScopeGuard>

QString ImportedPanelName(const QString& archivePath)
{
    return withoutExtension(storedFileName(archivePath));
}

void PanelExchange::aExportExecute()
{
    FileSystem& files = *m_platform.files;
    const QString name = m_loaded.name();
    if (name.isEmpty() || m_loaded.instruments().count() == 0) {
        m_prompter.showError(NothingToExportMessage);
        return;
    }
    const QString folder = PanelFolder(m_folders.IniPath, name).path();
    if (!files.folderExists(folder))
        return;
    // The archive holds the list as shown.
    m_loaded.save();

    FileDialogRequest request;
    request.title = ExportTitle;
    request.filter = ExportFilter;
    request.fileName = name + ExportExtension;
    request.defaultExtension = ExportExtension;
    const auto chosen = m_prompter.saveFileName(request);
    if (!chosen)
        return;

    emit busyChanged(true);
    const auto normalCursor = qScopeGuard([this] { emit busyChanged(false); });
    PanelArchive(files).CompressDirectory(folder, false, *chosen);
}

void PanelExchange::aImportExecute()
{
    FileSystem& files = *m_platform.files;

    FileDialogRequest request;
    request.title = ImportTitle;
    request.filter = ImportFilter;
    request.defaultExtension = ExportExtension;
    const auto chosen = m_prompter.openFileName(request);
    if (!chosen)
        return;
    const QString archive = *chosen;
    const QString newName = ImportedPanelName(archive);
    // Unpacked beside the panels under a hidden name and moved into place whole, so no panel is ever seen
    // half made, and a failure leaves nothing behind.
    const QString stagingName = u'.' + PanelFolder::EntryPrefix + newName + QStringLiteral(".import");
    // The file name becomes a folder name and a word on the instruments' command lines.
    auto problem = newPanelNameProblem(newName);
    if (!problem)
        problem = panelNameLengthProblem(files, m_folders.IniPath, newName, {stagingName});
    if (problem) {
        m_prompter.showError(QStringLiteral("\"%1\" cannot be imported: %2").arg(storedFileName(archive), *problem));
        return;
    }
    const QString folder = PanelFolder(m_folders.IniPath, newName).path();
    if (files.folderExists(folder)) {
        m_prompter.showError(QStringLiteral("Panel %1 already exists!").arg(newName));
        return;
    }
    // Leaving the loaded panel is a save point, as with Load and New: its unsaved rows are not lost.
    if (files.folderExists(PanelFolder(m_folders.IniPath, m_loaded.name()).path()))
        m_loaded.leave();

    emit busyChanged(true);
    const auto normalCursor = qScopeGuard([this] { emit busyChanged(false); });

    const QString staging = joinPath(m_folders.IniPath, stagingName);
    if (files.folderExists(staging))
        files.removeFolderTree(staging); // left by an import that was cut short
    try {
        unpackRenamed(archive, staging, newName);
        if (!files.renameFile(staging, folder))
            throw VarnoltError(QStringLiteral("Cannot create folder \"%1\"").arg(nativePath(folder)));
    } catch (...) {
        if (files.folderExists(staging))
            files.removeFolderTree(staging);
        throw;
    }
    try {
        m_loaded.openOrForget(newName, {});
    } catch (...) {
        files.removeFolderTree(folder);
        throw;
    }
}

void PanelExchange::unpackRenamed(const QString& archive, const QString& staging, const QString& newName)
{
    const Platform& p = m_platform;
    PanelArchive(*p.files).DecompressFile(archive, staging, true, true);

    // The panel instrument list carries the name the panel had where it was exported.
    QString listFile;
    for (const DirEntry& e : p.files->list(joinPath(staging, u'*' + PanelFolder::ListExtension))) {
        if (!e.directory) {
            listFile = e.name;
            break;
        }
    }
    if (listFile.isEmpty())
        throw VarnoltError(QStringLiteral("\"%1\" holds no panel to import!").arg(nativePath(archive)));

    const QString oldName = withoutExtension(listFile);
    const PanelFolder panel = PanelFolder::at(staging, newName);
    if (oldName == newName) {
        // The panel is named after its folder alone, and its stored name stays as the archive brought it,
        // unless it is none a panel may have: then the panel does not carry it on to a PC that would trust it.
        const QString settingsFile = panel.settingsFile();
        const QString stored =
            p.ini->readString(settingsFile, QStringLiteral("Config"), QStringLiteral("PanelName"), newName);
        if (panelNameProblem(stored))
            p.ini->writeString(settingsFile, QStringLiteral("Config"), QStringLiteral("PanelName"), newName);
        return;
    }
    panel.takeOwnFilesFrom(*p.files, *p.ini, oldName);
}
