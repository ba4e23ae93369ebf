#include "AddInstrumentModel.h"

#include <exception>

namespace {
// The type letter of each radio item; "X" lists every program.
constexpr char16_t kTypeLetters[] = u"XPNEACM";
} // namespace

const QString AddInstrumentModel::AddCaption = QStringLiteral("Add Instrument");
const QString AddInstrumentModel::EditCaption = QStringLiteral("Edit Instrument");
const QStringList AddInstrumentModel::TypeCaptions{QStringLiteral("All"),          QStringLiteral("Primary Flight"),
                                                   QStringLiteral("Navigation"),   QStringLiteral("Engine"),
                                                   QStringLiteral("Annunciators"), QStringLiteral("Comms"),
                                                   QStringLiteral("Miscellaneous")};

AddInstrumentModel::AddInstrumentModel(InstrumentCatalogue catalogue) : m_catalogue(std::move(catalogue)) {}

void AddInstrumentModel::FormShow()
{
    picture.clear();
    if (isAddMode()) {
        okCaption = QStringLiteral("Add checked instruments");
        okWidth = 168;
        rgTypeClick();
        UncheckAll();
    } else {
        okCaption = QStringLiteral("Save changes");
        okWidth = 120;
        LoadFromIni(InstrumentCatalogue::descriptorPath(edPathName));
    }
}

void AddInstrumentModel::ClearDisplay()
{
    picture.clear();
    edPort.clear();
    edPathName.clear();
    edLong.clear();
    edDescription.clear();
}

void AddInstrumentModel::LoadFromIni(const QString& iniFileName)
{
    const InstrumentDescriptor d = m_catalogue.descriptor(iniFileName);
    lName = d.ShortName;
    edLong = d.LongName;
    edDescription = d.Description;
    // In edit mode the row's own port is already there and stays.
    if (edPort.isEmpty())
        edPort = d.DefaultPort;
    if (!d.imagePath.isEmpty())
        picture = d.imagePath;
}

void AddInstrumentModel::cbInstrumentSetChange(int index)
{
    m_setIndex = index;
    ClearDisplay();
    m_typeIndex = 0;
    rgTypeClick();
}

void AddInstrumentModel::rgTypeClick()
{
    ClearDisplay();
    if (m_typeIndex < 0 || m_typeIndex >= int(TypeCaptions.size()))
        return;
    FillInstrumentList(QChar(kTypeLetters[m_typeIndex]));
}

void AddInstrumentModel::selectType(int index)
{
    if (index == m_typeIndex)
        return;
    m_typeIndex = index;
    rgTypeClick();
}

void AddInstrumentModel::lvInstrumentsSelectItem(int index)
{
    if (index < 0 || index >= int(m_items.size()))
        return;
    m_selectedItem = index;
    // Browsing never reports: whatever could be filled before an error stays shown.
    try {
        ClearDisplay();
        const QString path = programPathOf(m_items[index]);
        LoadFromIni(InstrumentCatalogue::descriptorPath(path));
        edPathName = path;
    } catch (const std::exception&) {
    }
}

void AddInstrumentModel::FillSetList()
{
    m_sets = m_catalogue.sets();
    m_setIndex = m_sets.isEmpty() ? -1 : 0;
}

void AddInstrumentModel::FillInstrumentList(QChar typeLetter)
{
    m_items.clear();
    m_selectedItem = -1;
    ++m_listGeneration;
    for (const CatalogueProgram& p : m_catalogue.programs(currentSet(), typeLetter))
        m_items.push_back({p.displayName, p.fileName, false});
    if (!m_items.empty())
        lvInstrumentsSelectItem(0);
}

void AddInstrumentModel::UncheckAll()
{
    for (Item& item : m_items)
        item.checked = false;
}
