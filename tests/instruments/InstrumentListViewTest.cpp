#include "app/MainController.h"
#include "app/TfrmMain.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QItemSelectionModel>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

InstrumentRow named(const QString& name)
{
    InstrumentRow r;
    r.Name = name;
    return r;
}

// The main window's list is a view of the model: deleting through the model with a row selected in the
// view removes that row, and the row the view then rests on can be chosen again.
TEST(InstrumentListView, DeletingTheSelectedRowRemovesThatRow)
{
    TestPlatform tp;
    ScriptedPrompter prompter;
    MainController controller(tp.platform(), prompter, {});
    TfrmMain window(controller);
    InstrumentListModel& model = controller.session().loaded().instruments();
    for (const char* n : {"a", "b", "c"})
        model.append(named(n));

    QTreeView* view = window.instrumentList();
    view->setCurrentIndex(model.index(1, 0));
    ASSERT_EQ(model.selectedIndex(), 1);
    model.deleteSelected();

    ASSERT_EQ(model.count(), 2);
    EXPECT_EQ(model.at(0).Name, "a");
    EXPECT_EQ(model.at(1).Name, "c");
    EXPECT_FALSE(model.hasSelection());

    view->setCurrentIndex(model.index(0, 0));
    EXPECT_EQ(model.selectedIndex(), 0);
}

} // namespace
