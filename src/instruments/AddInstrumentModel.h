#pragma once

#include "InstrumentCatalogue.h"
#include "platform/Prompter.h"

#include <QString>
#include <QStringList>

#include <vector>

// The state of the add-instrument dialog and its reactions. One lives for the whole run, so the chosen set,
// type and list persist between uses. The caption picks the mode: exactly "Add Instrument" browses the
// catalogue to add checked instruments; anything else edits one row's port with only the detail pane shown.
class AddInstrumentModel : public DialogModel
{
public:
    struct Item
    {
        QString displayName; // column "Available Instruments"
        QString fileName;    // column "FileName"
        bool checked = false;
    };

    static const QString AddCaption;  // "Add Instrument"
    static const QString EditCaption; // "Edit Instrument"
    static const QStringList TypeCaptions;
    static constexpr int AddWidth = 670;  // the whole dialog
    static constexpr int EditWidth = 405; // the detail pane alone

    explicit AddInstrumentModel(InstrumentCatalogue catalogue);

    bool isAddMode() const { return caption == AddCaption; }

    // Reactions, named after the controls and steps they belong to.
    void FormCreate() { FillSetList(); }
    // Runs on every showing, before the window appears.
    void FormShow();
    void ClearDisplay();
    // iniFileName: the descriptor's path relative to the program folder.
    void LoadFromIni(const QString& iniFileName);
    void cbInstrumentSetChange(int index);
    void rgTypeClick();
    // Selects a type, as a click on the radio group does, and reacts when it changes.
    void selectType(int index);
    void lvInstrumentsSelectItem(int index);
    void FillSetList();
    void FillInstrumentList(QChar typeLetter);
    void UncheckAll();
    void setChecked(int index, bool checked) { m_items.at(index).checked = checked; }

    // The text of the set box.
    QString currentSet() const { return m_setIndex >= 0 ? m_sets.value(m_setIndex) : QString(); }
    // "Instruments_<current set>\<file name>"
    QString programPathOf(const Item& item) const
    {
        return InstrumentCatalogue::programPath(currentSet(), item.fileName);
    }

    // Controls without a reaction of their own.
    QString caption = AddCaption;
    int formWidth = AddWidth;
    QString lName = QStringLiteral("Instrument Name");
    QString edLong;
    QString edDescription;
    QString edPort;
    QString edPathName;
    QString picture; // edImage: stored path of the picture shown, empty when cleared
    QString okCaption;
    int okWidth = 75;

    const QStringList& sets() const { return m_sets; }
    int setIndex() const { return m_setIndex; }
    int typeIndex() const { return m_typeIndex; }
    const std::vector<Item>& items() const { return m_items; }
    int selectedItem() const { return m_selectedItem; }
    // Changes whenever the list is rebuilt, so a window knows when to rebuild its own.
    int listGeneration() const { return m_listGeneration; }

private:
    InstrumentCatalogue m_catalogue;
    QStringList m_sets;
    int m_setIndex = -1;
    int m_typeIndex = 0;
    std::vector<Item> m_items;
    int m_selectedItem = -1;
    int m_listGeneration = 0;
};
