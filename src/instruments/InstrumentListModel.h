#pragma once

#include "InstrumentRow.h"

#include <QAbstractTableModel>

#include <vector>

class LocaleService;

// The loaded panel's rows, kept sorted by Name with the locale's comparison, with at most one selected row.
// The main window's list is a view of it.
class InstrumentListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        NameColumn = 0,
        FirstFieldColumn = 1,
        ColumnCount = 1 + InstrumentRow::FieldCount
    };

    explicit InstrumentListModel(const LocaleService& locale, QObject* parent = nullptr);

    int count() const { return int(m_rows.size()); }
    const InstrumentRow& at(int index) const { return m_rows.at(index); }
    const std::vector<InstrumentRow>& rows() const { return m_rows; }

    // Adds the row at its sorted place and returns that index.
    int append(const InstrumentRow& row);
    // Replaces the whole list (a panel load), keeping the sorted order; clears the selection.
    void setRows(std::vector<InstrumentRow> rows);
    void clear();

    // Changing the name re-sorts the list; the changed row stays selected if it was.
    void setName(int index, const QString& name);
    void setOn(int index, bool on);
    void setField(int index, int field, const QString& value);

    int selectedIndex() const { return m_selected; } // -1 when none
    bool hasSelection() const { return m_selected >= 0; }
    const InstrumentRow* selected() const { return hasSelection() ? &m_rows[m_selected] : nullptr; }
    void select(int index); // -1 clears
    // Nothing is selected afterwards.
    void deleteSelected();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    void selectionChanged(int index);

private:
    void sortKeepingSelection();
    int sortedPosition(const QString& name) const;

    const LocaleService& m_locale;
    std::vector<InstrumentRow> m_rows;
    int m_selected = -1;
};
