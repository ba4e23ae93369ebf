#include "app/QtPrompter.h"
#include "app/ProgramViews.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class ForgottenModel : public DialogModel
{};

} // namespace

TEST(QtPrompter, ADialogModelWithoutAViewFailsLoudlyNamingIt)
{
    QtPrompter prompter{programViews()};
    ForgottenModel model;
    try {
        prompter.execDialog(model);
        ADD_FAILURE() << "a model without a view was answered";
    } catch (const std::logic_error& e) {
        EXPECT_NE(std::string(e.what()).find("ForgottenModel"), std::string::npos) << e.what();
    }
}

TEST(QtPrompter, ASecondViewForOneModelFailsLoudlyAndTheFirstStays)
{
    DialogViews views = programViews();
    views.add<ForgottenModel>([](ForgottenModel&, DialogHost&) { return true; });
    try {
        views.add<ForgottenModel>([](ForgottenModel&, DialogHost&) { return false; });
        ADD_FAILURE() << "a second view replaced the first";
    } catch (const std::logic_error& e) {
        EXPECT_NE(std::string(e.what()).find("ForgottenModel"), std::string::npos) << e.what();
    }
    QtPrompter prompter{std::move(views)};
    ForgottenModel model;
    EXPECT_TRUE(prompter.execDialog(model));
}
