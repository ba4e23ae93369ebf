#include "LoadedPanel.h"

#include "PanelSettings.h"
#include "instruments/InstrumentCatalogue.h"
#include "instruments/InstrumentListStore.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"
#include "settings/AppSettings.h"
#include "settings/Folders.h"
#include "settings/PanelFolders.h"
#include "settings/PanelNames.h"

LoadedPanel::LoadedPanel(const Platform& platform, const Folders& folders, const PanelFolders& panels,
                         const AppSettings& settings, Prompter& prompter, QObject* parent)
    : QObject(parent), m_platform(platform), m_folders(folders), m_panels(panels), m_settings(settings),
      m_prompter(prompter), m_instruments(*platform.locale)
{}

void LoadedPanel::setDocumentName(const QString& name)
{
    if (name == m_documentName)
        return;
    m_documentName = name;
    emit documentNameChanged(name);
}

std::optional<PanelContents> LoadedPanel::read(const QString& name, const OpenOptions& options) const
{
    const std::optional<QString> found = m_panels.find(name);
    if (!found) {
        if (options.report)
            m_prompter.showError(QStringLiteral("Panel %1 configuration is missing! - Create Panel again")
                                     .arg(printablePanelName(name)));
        return std::nullopt;
    }
    InstrumentListModel list(*m_platform.locale);
    ReadInstrumentList(*m_platform.files, m_folders.IniPath, *found, list);
    // Sizes of monitors the file does not name stay as the loaded panel had them.
    PanelRecord record = m_record;
    LoadPanelSettings(*m_platform.ini, m_folders.IniPath, *found, record);
    if (options.repair) {
        const InstrumentCatalogue catalogue(*m_platform.files, *m_platform.ini, *m_platform.locale, m_folders.AppPath);
        RepairInstrumentList(*m_platform.files, catalogue, m_folders.AppPath, list, m_prompter);
    }
    return PanelContents{*found, std::move(record), list.rows(), *found};
}

void LoadedPanel::commit(PanelContents contents)
{
    m_unreadStartupPanel.clear();
    m_record = std::move(contents.record);
    m_instruments.setRows(std::move(contents.rows));
    setDocumentName(contents.documentName);
    emit changed();
}

bool LoadedPanel::open(const QString& name, const OpenOptions& options)
{
    std::optional<PanelContents> contents = read(name, options);
    if (!contents)
        return false;
    commit(std::move(*contents));
    return true;
}

QString LoadedPanel::openOrForget(const QString& name, const OpenOptions& options)
{
    if (open(name, options))
        return name;
    // Not found (and said so): no panel is loaded, but the rows the user saw stay on show.
    forget();
    setDocumentName(QString());
    return {};
}

void LoadedPanel::reloadSettings()
{
    PanelRecord record = m_record;
    LoadPanelSettings(*m_platform.ini, m_folders.IniPath, m_record.Name, record);
    m_record = std::move(record);
    emit changed();
}

void LoadedPanel::save()
{
    SaveInstrumentList(*m_platform.files, m_folders.IniPath, m_record.Name, m_instruments,
                       {m_settings.FlightSimIPAddress, m_settings.FlightSimPort});
}

void LoadedPanel::forget()
{
    m_unreadStartupPanel.clear();
    if (m_record.Name.isEmpty())
        return;
    m_record.Name.clear();
    emit changed();
}

void LoadedPanel::clear()
{
    m_unreadStartupPanel.clear();
    m_instruments.clear();
    // The monitor sizes stay: a later load overwrites only the monitors its file names.
    const MonitorLayout layout = m_record.Layout;
    m_record = PanelRecord{};
    m_record.Layout = layout;
    setDocumentName(QString());
    emit changed();
}

void LoadedPanel::keepUnreadStartupPanel(const QString& name)
{
    // Only a name that could be a panel's is stored back as the last used one.
    m_unreadStartupPanel = panelNameProblem(name) ? QString() : name;
}
