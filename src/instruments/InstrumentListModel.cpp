#include "InstrumentListModel.h"

#include "platform/LocaleService.h"

#include <algorithm>

namespace {
const char* const kHeaders[] = {"On|Instrument", "Port No", "Path Name", "IP Address", "Port No", "Size", "InstNo"};
} // namespace

InstrumentListModel::InstrumentListModel(const LocaleService& locale, QObject* parent)
    : QAbstractTableModel(parent), m_locale(locale)
{}

int InstrumentListModel::sortedPosition(const QString& name) const
{
    const auto it =
        std::upper_bound(m_rows.begin(), m_rows.end(), name,
                         [this](const QString& n, const InstrumentRow& r) { return m_locale.compare(n, r.Name) < 0; });
    return int(it - m_rows.begin());
}

int InstrumentListModel::append(const InstrumentRow& row)
{
    const int pos = sortedPosition(row.Name);
    beginInsertRows({}, pos, pos);
    m_rows.insert(m_rows.begin() + pos, row);
    if (m_selected >= pos)
        ++m_selected;
    endInsertRows();
    return pos;
}

void InstrumentListModel::setRows(std::vector<InstrumentRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    std::stable_sort(m_rows.begin(), m_rows.end(), [this](const InstrumentRow& a, const InstrumentRow& b) {
        return m_locale.compare(a.Name, b.Name) < 0;
    });
    m_selected = -1;
    endResetModel();
    emit selectionChanged(-1);
}

void InstrumentListModel::clear()
{
    setRows({});
}

void InstrumentListModel::sortKeepingSelection()
{
    const InstrumentRow* selected = m_selected >= 0 ? &m_rows[m_selected] : nullptr;
    std::vector<const InstrumentRow*> order;
    order.reserve(m_rows.size());
    for (const auto& r : m_rows)
        order.push_back(&r);
    std::stable_sort(order.begin(), order.end(), [this](const InstrumentRow* a, const InstrumentRow* b) {
        return m_locale.compare(a->Name, b->Name) < 0;
    });
    std::vector<InstrumentRow> sorted;
    sorted.reserve(m_rows.size());
    int newSelected = -1;
    for (const auto* r : order) {
        if (r == selected)
            newSelected = int(sorted.size());
        sorted.push_back(*r);
    }
    beginResetModel();
    m_rows = std::move(sorted);
    m_selected = newSelected;
    endResetModel();
    emit selectionChanged(m_selected);
}

void InstrumentListModel::setName(int index, const QString& name)
{
    if (m_rows.at(index).Name == name)
        return;
    m_rows[index].Name = name;
    emit dataChanged(this->index(index, NameColumn), this->index(index, NameColumn));
    sortKeepingSelection();
}

void InstrumentListModel::setOn(int index, bool on)
{
    m_rows.at(index).On = on;
    emit dataChanged(this->index(index, NameColumn), this->index(index, NameColumn), {Qt::CheckStateRole});
}

void InstrumentListModel::setField(int index, int field, const QString& value)
{
    m_rows.at(index).field(field) = value;
    const QModelIndex cell = this->index(index, FirstFieldColumn + field);
    emit dataChanged(cell, cell);
}

void InstrumentListModel::select(int index)
{
    const int next = (index >= 0 && index < count()) ? index : -1;
    if (next == m_selected)
        return;
    m_selected = next;
    emit selectionChanged(m_selected);
}

void InstrumentListModel::deleteSelected()
{
    const int doomed = m_selected;
    if (doomed < 0)
        return;
    // A view moves its current row off the removed one while the removal is announced and may report that
    // as a selection; the row to delete is the one chosen before.
    beginRemoveRows({}, doomed, doomed);
    m_rows.erase(m_rows.begin() + doomed);
    m_selected = -1;
    endRemoveRows();
    emit selectionChanged(-1);
}

int InstrumentListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

int InstrumentListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant InstrumentListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const InstrumentRow& row = m_rows[index.row()];
    if (role == Qt::DisplayRole)
        return index.column() == NameColumn ? row.Name : row.field(index.column() - FirstFieldColumn);
    if (role == Qt::CheckStateRole && index.column() == NameColumn)
        return row.On ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool InstrumentListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    // The check box is the only thing a user edits in place, and it changes On alone.
    if (!index.isValid() || index.column() != NameColumn || role != Qt::CheckStateRole)
        return false;
    setOn(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags InstrumentListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == NameColumn)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant InstrumentListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return QString::fromLatin1(kHeaders[section]);
    return {};
}
