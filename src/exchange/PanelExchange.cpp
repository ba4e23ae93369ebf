#include "PanelExchange.h"

#include "PanelArchive.h"

#include "app/Session.h"
#include "instruments/InstrumentListOps.h"
#include "panels/PanelFiles.h"
#include "panels/PanelNames.h"
#include "panels/PanelOperations.h"
#include "panels/PanelSettings.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/IniService.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"

#include <QScopeGuard>

QString ImportedPanelName(const QString& archivePath)
{
    return withoutExtension(storedFileName(archivePath));
}

void PanelExchange::aExportExecute()
{
    Session& s = m_session;
    FileSystem& files = *s.platform().files;
    const QString name = s.CurrentPanel.Name;
    if (name.isEmpty() || s.instruments().count() == 0) {
        s.prompter().showError(NothingToExportMessage);
        return;
    }
    const QString folder = PanelFolder(s.folders.IniPath, name);
    if (!files.folderExists(folder))
        return;
    // The archive holds the list as shown.
    SaveInstrumentList(s, name);

    FileDialogRequest request;
    request.title = ExportTitle;
    request.filter = ExportFilter;
    request.fileName = name + ExportExtension;
    request.defaultExtension = ExportExtension;
    const auto chosen = s.prompter().saveFileName(request);
    if (!chosen)
        return;

    emit busyChanged(true);
    const auto normalCursor = qScopeGuard([this] { emit busyChanged(false); });
    PanelArchive(files).CompressDirectory(folder, false, *chosen);
}

void PanelExchange::aImportExecute()
{
    Session& s = m_session;
    FileSystem& files = *s.platform().files;

    FileDialogRequest request;
    request.title = ImportTitle;
    request.filter = ImportFilter;
    request.defaultExtension = ExportExtension;
    const auto chosen = s.prompter().openFileName(request);
    if (!chosen)
        return;
    const QString archive = *chosen;
    const QString newName = ImportedPanelName(archive);
    // Unpacked beside the panels under a hidden name and moved into place whole, so no panel is ever seen
    // half made, and a failure leaves nothing behind.
    const QString stagingName = u'.' + PanelFolderPrefix + newName + QStringLiteral(".import");
    // The file name becomes a folder name and a word on the instruments' command lines.
    auto problem = panelNameProblem(newName);
    if (!problem)
        problem = panelNameLengthProblem(files, s.folders.IniPath, newName, {stagingName});
    if (problem) {
        s.prompter().showError(QStringLiteral("\"%1\" cannot be imported: %2").arg(storedFileName(archive), *problem));
        return;
    }
    const QString folder = PanelFolder(s.folders.IniPath, newName);
    if (files.folderExists(folder)) {
        s.prompter().showError(QStringLiteral("Panel %1 already exists!").arg(newName));
        return;
    }
    // Leaving the loaded panel is a save point, as with Load and New: its unsaved rows are not lost.
    if (files.folderExists(PanelFolder(s.folders.IniPath, s.CurrentPanel.Name)))
        s.loaded().leave();

    emit busyChanged(true);
    const auto normalCursor = qScopeGuard([this] { emit busyChanged(false); });

    const QString staging = joinPath(s.folders.IniPath, stagingName);
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
        loadImported(newName);
    } catch (...) {
        files.removeFolderTree(folder);
        throw;
    }
}

void PanelExchange::unpackRenamed(const QString& archive, const QString& staging, const QString& newName)
{
    const Platform& p = m_session.platform();
    PanelArchive(*p.files).DecompressFile(archive, staging, true, true);

    // The panel instrument list carries the name the panel had where it was exported.
    QString listFile;
    for (const DirEntry& e : p.files->list(joinPath(staging, QStringLiteral("*.cfg")))) {
        if (!e.directory) {
            listFile = e.name;
            break;
        }
    }
    if (listFile.isEmpty())
        throw VarnoltError(QStringLiteral("\"%1\" holds no panel to import!").arg(nativePath(archive)));

    const QString oldName = withoutExtension(listFile);
    if (oldName == newName)
        return;
    // A rename that fails leaves that file as the archive brought it.
    p.files->renameFile(joinPath(staging, listFile), joinPath(staging, newName + QStringLiteral(".cfg")));
    p.files->renameFile(joinPath(staging, oldName + QStringLiteral(".ini")),
                        joinPath(staging, newName + QStringLiteral(".ini")));
    p.ini->writeString(joinPath(staging, newName + QStringLiteral(".ini")), QStringLiteral("Config"),
                       QStringLiteral("PanelName"), newName);
}

void PanelExchange::loadImported(const QString& newName)
{
    m_session.UpdateStartEnabled(m_panels.openOrForget(newName, {}));
}
