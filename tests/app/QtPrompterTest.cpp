#include "app/QtPrompter.h"
#include "app/ProgramViews.h"
#include "support/GuiScript.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>

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

// What the file dialogs give back is stored (a 3rd party application's path) and shown: in the system's own
// spelling, so a Windows panel never holds a "/" in a path.
TEST(QtPrompter, AChosenFileComesInTheSystemsSpelling)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("app.exe"));
    QFile(existing).open(QIODevice::WriteOnly);
    QtPrompter prompter{programViews()};
    FileDialogRequest request;
    request.initialFolder = dir.path();
    // Saving picks a new name: an existing one would ask first whether to replace it.
    for (const bool open : {true, false}) {
        const QString file = open ? existing : dir.filePath(QStringLiteral("Export.zip"));
        whenOpen<QFileDialog>([&](QFileDialog* d) {
            // Typed as a user does: selectFile() leaves the name field alone while it has the focus.
            if (auto* name = child<QLineEdit>(d, "fileNameEdit"))
                name->setText(file);
            static_cast<QDialog*>(d)->accept(); // QFileDialog keeps its own accept() protected
        });
        const std::optional<QString> chosen = open ? prompter.openFileName(request) : prompter.saveFileName(request);
        ASSERT_TRUE(chosen) << open;
        EXPECT_EQ(*chosen, QDir::toNativeSeparators(file)) << open;
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
