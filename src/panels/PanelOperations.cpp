#include "PanelOperations.h"

#include "PanelChooser.h"
#include "instruments/InstrumentListStore.h"
#include "panels/PanelSettings.h"
#include "panels/PanelSetupModel.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/IniService.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"
#include "settings/AppSettings.h"
#include "settings/Folders.h"
#include "settings/PanelFolders.h"
#include "settings/PanelNames.h"

namespace {

QString alreadyExists(const QString& name)
{
    return QStringLiteral("Panel %1 already exists! - Choose a different name").arg(name);
}

} // namespace

void PanelOperations::RemovePanelFolder(const QString& name)
{
    // With no panel loaded there is nothing of the user's to delete: a folder "Panel_" is never a panel.
    if (!name.isEmpty())
        PanelFolder(m_folders.IniPath, name).remove(*m_platform.files);
    m_loaded.clear();
}

std::optional<QString> PanelOperations::nameProblem(const QString& name) const
{
    if (const auto problem = newPanelNameProblem(name))
        return problem;
    return panelNameLengthProblem(*m_platform.files, m_folders.IniPath, name);
}

std::optional<QString> PanelOperations::newNameProblem(const QString& name) const
{
    if (const auto problem = nameProblem(name))
        return problem;
    // A new panel never takes over the files of one that exists.
    if (m_platform.files->folderExists(PanelFolder(m_folders.IniPath, name).path()))
        return alreadyExists(name);
    return std::nullopt;
}

void PanelOperations::aNewPanelExecute(int monitorCount)
{
    PanelSetupModel dialog(*m_platform.monitors, m_prompter);
    dialog.setMonitorCount(monitorCount);
    try {
        m_loaded.leave();
    } catch (const VarnoltError& e) {
        // Said as what it is: the loaded panel's list, not the panel the user has not even named yet.
        throw VarnoltError(
            QStringLiteral("No new panel was made: the instruments of panel \"%1\" could not be saved first. %2")
                .arg(m_loaded.name(), e.message()));
    }
    dialog.presetNewPanel(m_folders.IniPath);
    // Checked when OK is pressed, so a refused name costs the user nothing but a retype.
    dialog.nameCheck = [this](const QString& name) { return newNameProblem(name); };
    if (m_prompter.execDialog(dialog) && dialog.panelName != PanelSetupModel::NewPanelName) {
        const QString name = dialog.panelName;
        if (const auto problem = newNameProblem(name))
            throw VarnoltError(*problem);
        try {
            // A new panel starts with no instruments.
            SaveInstrumentList(*m_platform.files, m_folders.IniPath, name, InstrumentListModel(*m_platform.locale),
                               {m_settings.FlightSimIPAddress, m_settings.FlightSimPort});
            SavePanelSetup(m_platform, m_folders.IniPath, name, dialog);
            if (!m_loaded.open(name, {.report = false}))
                throw VarnoltError(
                    QStringLiteral("Cannot create folder \"%1\"").arg(PanelFolder(m_folders.IniPath, name).path()));
        } catch (const VarnoltError& e) {
            // A panel half made is no panel; the folder was new, so all in it was made here.
            PanelFolder(m_folders.IniPath, name).remove(*m_platform.files);
            throw VarnoltError(QStringLiteral("Panel \"%1\" was not created. %2").arg(name, e.message()));
        } catch (...) {
            PanelFolder(m_folders.IniPath, name).remove(*m_platform.files);
            throw;
        }
    }
}

void PanelOperations::aEditSettingsExecute(int monitorCount)
{
    // Without a loaded panel there is nothing to edit and no folder to save into.
    if (m_loaded.name().isEmpty())
        return;
    PanelSetupModel dialog(*m_platform.monitors, m_prompter);
    dialog.setMonitorCount(monitorCount);
    FillPanelSetup(*m_platform.ini, m_folders.IniPath, m_loaded.name(), dialog);
    if (m_prompter.execDialog(dialog))
        SavePanelSetup(m_platform, m_folders.IniPath, m_loaded.name(), dialog);
    m_loaded.reloadSettings();
}

void PanelOperations::aCopyPanelExecute()
{
    const Platform& p = m_platform;
    if (m_loaded.instruments().count() == 0 || m_loaded.name().isEmpty())
        return;
    const auto answer = m_prompter.inputBox(QStringLiteral("Enter new Panel Name"), QStringLiteral("Panel Name"), {});
    if (!answer || answer->isEmpty())
        return;
    const QString newName = *answer;
    if (const auto problem = nameProblem(newName))
        throw VarnoltError(*problem);

    const QString from = m_loaded.name();
    const PanelFolder source(m_folders.IniPath, from);
    const PanelFolder target(m_folders.IniPath, newName);
    if (p.files->folderExists(target.path()))
        return;
    if (!p.files->createFolder(target.path())) {
        m_prompter.showError(alreadyExists(newName));
        return;
    }
    const auto entries = p.files->list(source.file(QStringLiteral("*")));
    if (entries.empty()) {
        m_prompter.showError(QStringLiteral("Error creating Panel Folder"));
        return;
    }
    try {
        for (const DirEntry& e : entries)
            p.files->copyFile(source.file(e.name), target.file(e.name), false);
        target.takeOwnFilesFrom(*p.files, *p.ini, from);
    } catch (...) {
        // The target folder was made above: a copy that cannot be finished leaves nothing of itself.
        target.remove(*p.files);
        throw;
    }

    m_loaded.openOrForget(newName, {});
}

void PanelOperations::aDeletePanelExecute()
{
    // Named, so the user knows which panel goes: Delete always removes the loaded one.
    const MessageButton answer =
        m_prompter.message(MessageKind::Confirmation, QStringLiteral("Confirm to delete panel ") + m_loaded.name(),
                           MessageButton::Yes | MessageButton::No);
    if (answer == MessageButton::Yes) {
        RemovePanelFolder(m_loaded.name());
        m_loaded.setDocumentName(QString());
    }
}

void PanelOperations::aLoadPanelExecute()
{
    PanelChooserModel chooser;
    m_loaded.leave();
    chooser.panels = m_loaded.panels().names();
    if (m_prompter.execDialog(chooser) && chooser.hasSelection())
        m_loaded.openOrForget(chooser.selectedName(), {.repair = true});
}
