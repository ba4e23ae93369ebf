#include "instruments/InstrumentListModel.h"

#include "platform/LocaleService.h"

#include <gtest/gtest.h>

namespace {

InstrumentRow named(const QString& name)
{
    InstrumentRow r;
    r.Name = name;
    r.fields = {"47000", "Instruments_Standard\\P@" + name + ".exe", "", "", "1", "1"};
    return r;
}

QStringList names(const InstrumentListModel& m)
{
    QStringList out;
    for (const auto& r : m.rows())
        out << r.Name;
    return out;
}

class ListModel : public ::testing::Test
{
protected:
    SystemLocale locale;
    InstrumentListModel model{locale};
};

TEST_F(ListModel, KeepsRowsInTheUsersCollationWhateverTheOrderOfAdding)
{
    for (const char* n : {"beta", "Gamma", "Alpha", "alpha"})
        model.append(named(n));
    EXPECT_EQ(names(model), (QStringList{"alpha", "Alpha", "beta", "Gamma"}));

    model.setRows({named("z"), named("B"), named("a")});
    EXPECT_EQ(names(model), (QStringList{"a", "B", "z"}));
    EXPECT_FALSE(model.hasSelection());
}

TEST_F(ListModel, SelectionFollowsItsRowThroughInsertsAndRenames)
{
    for (const char* n : {"b", "d", "f"})
        model.append(named(n));
    model.select(1); // "d"
    model.append(named("a"));
    ASSERT_TRUE(model.selected());
    EXPECT_EQ(model.selected()->Name, "d");

    model.setName(model.selectedIndex(), "z");
    EXPECT_EQ(names(model), (QStringList{"a", "b", "f", "z"}));
    EXPECT_EQ(model.selected()->Name, "z");

    model.select(7); // out of range clears
    EXPECT_FALSE(model.hasSelection());
}

TEST_F(ListModel, DeletesOnlyTheSelectedRow)
{
    for (const char* n : {"a", "b", "c"})
        model.append(named(n));
    model.deleteSelected();
    EXPECT_EQ(model.count(), 3);

    model.select(1);
    model.deleteSelected();
    EXPECT_EQ(names(model), (QStringList{"a", "c"}));
    EXPECT_FALSE(model.hasSelection());

    model.clear();
    EXPECT_EQ(model.count(), 0);
}

TEST_F(ListModel, CheckBoxChangesOnAlone)
{
    model.append(named("a"));
    const InstrumentRow before = model.at(0);
    EXPECT_TRUE(model.flags(model.index(0, 0)).testFlag(Qt::ItemIsUserCheckable));
    EXPECT_FALSE(model.flags(model.index(0, 1)).testFlag(Qt::ItemIsUserCheckable));

    EXPECT_TRUE(model.setData(model.index(0, 0), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_FALSE(model.at(0).On);
    EXPECT_EQ(model.at(0).fields, before.fields);
    EXPECT_EQ(model.at(0).Name, before.Name);
    EXPECT_FALSE(model.setData(model.index(0, 0), "renamed", Qt::EditRole));
    EXPECT_FALSE(model.setData(model.index(0, 2), "x", Qt::EditRole));
    EXPECT_EQ(model.at(0).Name, "a");
    EXPECT_EQ(model.data(model.index(0, 2), Qt::DisplayRole).toString(), before.field(InstrumentRow::PathName));
}

} // namespace
