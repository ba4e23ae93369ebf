#pragma once

#include "InstrumentRow.h"

#include <QString>

#include <functional>
#include <memory>

class AddInstrumentModel;
class InstrumentListModel;
class PanelFolder;
class Prompter;
struct AppSettings;
struct Folders;
struct Platform;

// The ribbon's instrument commands on the loaded panel's list: add from the catalogue, add a 3rd party
// application, edit, remove and reset position. They change the list in memory only; Remove and Reset
// Position also act on the instrument's position file in the panel folder at once.
class InstrumentOperations
{
public:
    // list: the loaded panel's rows; panelName: the loaded panel's name, asked each time it is needed, since
    // the panel changes while these operations live.
    InstrumentOperations(const Platform& platform, Prompter& prompter, const Folders& folders,
                         const AppSettings& settings, InstrumentListModel& list, std::function<QString()> panelName);
    ~InstrumentOperations();

    // Makes the add-instrument dialog, which lists the instrument sets once for the whole run.
    void FormCreate();
    AddInstrumentModel& addInstrumentDialog();

    void aAddInstrumentExecute();
    void a3rdPartyExecute();
    void aEditInstrumentExecute() { EditInstrument(); }
    void aDeleteInstrumentExecute() { RemoveInstrument(); }
    void aResetPosExecute() { ResetInstrumentPosition(); }

    // After the add-instrument dialog closed with OK: one row per checked entry, with the descriptor's port.
    void AddInstruments();
    // Returns the index the new row took.
    int AddApplication(const QString& path, const QString& parameters);
    // The selected row; nothing happens without one.
    void EditInstrument();
    void RemoveInstrument();
    void ResetInstrumentPosition();

private:
    void editApplication(const InstrumentRow& row);
    void editCatalogueInstrument(const InstrumentRow& row);
    // After a modal dialog: whether the row it was opened for is still the selected one.
    bool stillSelected(const InstrumentRow& row) const;

    const Platform& m_platform;
    Prompter& m_prompter;
    const Folders& m_folders;
    const AppSettings& m_settings;
    InstrumentListModel& m_list;
    std::function<QString()> m_panelName;
    std::unique_ptr<AddInstrumentModel> m_addInstrument;
};

// The largest InstNo among the rows named `name`, plus one; rows whose InstNo is no decimal number count
// as none.
int nextInstanceNumber(const InstrumentListModel& list, const QString& name);

// The file name part of a path without its extension: the name of an application row.
QString applicationName(const QString& path);

// The program's file name without the type letter, the "@" and the extension: "P@Airspeed.exe" -> "Airspeed".
QString programBaseName(const QString& pathName);

// The file in which the row's instrument program keeps its window placement in the panel's folder.
// maxBaseLength cuts the program's base name, as Reset Position has always done for very long names.
QString InstrumentPositionFileName(const PanelFolder& folder, const InstrumentRow& row, qsizetype maxBaseLength = -1);
