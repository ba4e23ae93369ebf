#include "InstrumentOperations.h"

#include "Add3rdPartyModel.h"
#include "AddInstrumentModel.h"
#include "InstrumentCatalogue.h"
#include "InstrumentListModel.h"
#include "platform/FileSystem.h"
#include "platform/IniService.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"
#include "settings/AppSettings.h"
#include "settings/Folders.h"
#include "settings/PanelFolder.h"

namespace {

// Reset Position has always cut the base name here; instrument programs with such names rely on it.
constexpr qsizetype kResetBaseLength = 120;

} // namespace

int nextInstanceNumber(const InstrumentListModel& list, const QString& name)
{
    int largest = 0;
    for (const InstrumentRow& row : list.rows()) {
        if (row.Name != name)
            continue;
        bool ok = false;
        const int n = row.field(InstrumentRow::InstNo).toInt(&ok, 10);
        if (ok && n > largest)
            largest = n;
    }
    return largest + 1;
}

QString applicationName(const QString& path)
{
    return withoutExtension(storedFileName(path));
}

QString programBaseName(const QString& pathName)
{
    return withoutExtension(storedFileName(pathName).mid(2));
}

QString InstrumentPositionFileName(const PanelFolder& folder, const InstrumentRow& row, qsizetype maxBaseLength)
{
    QString base = programBaseName(row.field(InstrumentRow::PathName));
    if (maxBaseLength >= 0)
        base.truncate(maxBaseLength);
    return folder.positionFile(base, row.field(InstrumentRow::InstNo));
}

InstrumentOperations::InstrumentOperations(const Platform& platform, Prompter& prompter, const Folders& folders,
                                           const AppSettings& settings, InstrumentListModel& list,
                                           std::function<QString()> panelName)
    : m_platform(platform), m_prompter(prompter), m_folders(folders), m_settings(settings), m_list(list),
      m_panelName(std::move(panelName))
{}

InstrumentOperations::~InstrumentOperations() = default;

void InstrumentOperations::FormCreate()
{
    const Platform& p = m_platform;
    m_addInstrument =
        std::make_unique<AddInstrumentModel>(InstrumentCatalogue(*p.files, *p.ini, *p.locale, m_folders.AppPath));
    m_addInstrument->FormCreate();
}

AddInstrumentModel& InstrumentOperations::addInstrumentDialog()
{
    if (!m_addInstrument)
        FormCreate();
    return *m_addInstrument;
}

void InstrumentOperations::aAddInstrumentExecute()
{
    AddInstrumentModel& dialog = addInstrumentDialog();
    dialog.formWidth = AddInstrumentModel::AddWidth;
    dialog.lName.clear();
    dialog.edPathName.clear();
    dialog.edPort.clear();
    dialog.caption = AddInstrumentModel::AddCaption;
    dialog.FormShow();
    if (m_prompter.execDialog(dialog))
        AddInstruments();
}

void InstrumentOperations::AddInstruments()
{
    AddInstrumentModel& dialog = addInstrumentDialog();
    InstrumentListModel& list = m_list;
    for (const AddInstrumentModel::Item& item : dialog.items()) {
        if (!item.checked)
            continue;
        // The cleared port takes the descriptor's: a port typed while browsing is not used.
        dialog.ClearDisplay();
        const QString path = dialog.programPathOf(item);
        dialog.LoadFromIni(InstrumentCatalogue::descriptorPath(path));
        dialog.edPathName = path;

        InstrumentRow row;
        row.Name = dialog.lName;
        row.On = true;
        row.fields = {dialog.edPort,
                      path,
                      m_settings.FlightSimIPAddress,
                      m_settings.FlightSimPort,
                      QStringLiteral("1"),
                      QString::number(nextInstanceNumber(list, row.Name))};
        list.append(row);
    }
}

void InstrumentOperations::a3rdPartyExecute()
{
    Add3rdPartyModel dialog(m_prompter);
    if (m_prompter.execDialog(dialog))
        AddApplication(dialog.edAppName, dialog.edParameters);
}

int InstrumentOperations::AddApplication(const QString& path, const QString& parameters)
{
    InstrumentRow row;
    row.Name = applicationName(path);
    row.On = true;
    row.fields[InstrumentRow::PortNo] = QStringLiteral("App");
    row.fields[InstrumentRow::PathName] = path;
    row.fields[InstrumentRow::IPAddress] = parameters;
    return m_list.append(row);
}

bool InstrumentOperations::stillSelected(const InstrumentRow& row) const
{
    // A panel switch asked for while the dialog was open may have replaced the list under it.
    const InstrumentRow* selected = m_list.selected();
    return selected && *selected == row;
}

void InstrumentOperations::EditInstrument()
{
    const InstrumentRow* selected = m_list.selected();
    if (!selected)
        return;
    const InstrumentRow row = *selected;
    if (row.isApplication())
        editApplication(row);
    else
        editCatalogueInstrument(row);
}

void InstrumentOperations::editApplication(const InstrumentRow& row)
{
    Add3rdPartyModel dialog(m_prompter);
    dialog.edAppName = row.field(InstrumentRow::PathName);
    dialog.edParameters = row.field(InstrumentRow::IPAddress);
    if (!m_prompter.execDialog(dialog) || !stillSelected(row))
        return;
    m_list.deleteSelected();
    // The user goes on with the row just edited, wherever its new name sorted it.
    m_list.select(AddApplication(dialog.edAppName, dialog.edParameters));
}

void InstrumentOperations::editCatalogueInstrument(const InstrumentRow& row)
{
    AddInstrumentModel& dialog = addInstrumentDialog();
    dialog.formWidth = AddInstrumentModel::EditWidth;
    dialog.lName = row.Name;
    dialog.edPathName = row.field(InstrumentRow::PathName);
    dialog.edPort = row.field(InstrumentRow::PortNo);
    dialog.caption = AddInstrumentModel::EditCaption;
    dialog.FormShow();
    if (!m_prompter.execDialog(dialog) || !stillSelected(row))
        return;

    // The row is made anew: checked, size 1, but the same instance and so the same position file.
    InstrumentRow edited;
    edited.Name = dialog.lName;
    edited.On = true;
    edited.fields = {dialog.edPort,
                     dialog.edPathName,
                     m_settings.FlightSimIPAddress,
                     m_settings.FlightSimPort,
                     QStringLiteral("1"),
                     row.field(InstrumentRow::InstNo)};
    InstrumentListModel& list = m_list;
    list.deleteSelected();
    list.select(list.append(edited));
}

void InstrumentOperations::RemoveInstrument()
{
    InstrumentListModel& list = m_list;
    const InstrumentRow* row = list.selected();
    if (!row)
        return;
    if (!row->isApplication()) {
        FileSystem& files = *m_platform.files;
        const PanelFolder folder(m_folders.IniPath, m_panelName());
        const QString file = InstrumentPositionFileName(folder, *row);
        // A panel named like an instance ("Airspeed1") shares its settings file with it: that file stays.
        const bool panelSettings = folder.kindOf(storedFileName(file)) == PanelFileKind::PanelSettings;
        // A file that cannot be deleted stays; the row goes anyway.
        if (!panelSettings && files.fileExists(file))
            files.deleteFile(file);
    }
    list.deleteSelected();
}

void InstrumentOperations::ResetInstrumentPosition()
{
    const InstrumentRow* selected = m_list.selected();
    if (!selected)
        return;
    const InstrumentRow row = *selected;
    Prompter& prompter = m_prompter;
    if (row.isApplication()) {
        prompter.message(MessageKind::Warning,
                         QStringLiteral("Reset position not available for 3rd party applications"));
        return;
    }
    if (prompter.message(MessageKind::Confirmation, QStringLiteral("Confirm to reset position of ") + row.Name,
                         MessageButton::Yes | MessageButton::No) != MessageButton::Yes)
        return;
    const QString file =
        InstrumentPositionFileName(PanelFolder(m_folders.IniPath, m_panelName()), row, kResetBaseLength);
    IniService& ini = *m_platform.ini;
    const QString position = QStringLiteral("Position");
    ini.writeString(file, position, QStringLiteral("Monitor"), QStringLiteral("0"));
    ini.writeString(file, position, QStringLiteral("X"), QStringLiteral("0"));
    ini.writeString(file, position, QStringLiteral("Y"), QStringLiteral("0"));
    ini.writeString(file, position, QStringLiteral("IsLocked"), QStringLiteral("False"));
    ini.writeString(file, QStringLiteral("Size"), QStringLiteral("ScaleSize"), QStringLiteral("1"));
}
