#pragma once

#include "platform/DialogViews.h"
#include "platform/Prompter.h"

#include <QPointer>

#include <vector>

class QDialog;
class QWidget;

// Answers the logic's prompts with Qt's dialogs, owned by the given window; a dialog model gets the window its
// view makes.
class QtPrompter : public Prompter, private DialogHost
{
public:
    explicit QtPrompter(DialogViews views, QWidget* owner = nullptr)
        : m_views(std::move(views)), m_owner(owner), m_window(owner)
    {}
    void setOwner(QWidget* owner) { m_owner = m_window = owner; }

    MessageButton message(MessageKind kind, const QString& text, MessageButtons buttons,
                          MessageButton defaultButton) override;
    std::optional<QString> inputBox(const QString& caption, const QString& prompt, const QString& initial) override;
    std::optional<QString> openFileName(const FileDialogRequest& request) override;
    std::optional<QString> saveFileName(const FileDialogRequest& request) override;
    std::optional<int> chooseColor(int initial) override;
    bool execDialog(DialogModel& model) override;
    void cancelAll() override;
    // True while one of this prompter's dialogs runs its loop.
    bool dialogOpen() const { return !m_open.empty(); }
    bool ending() const override { return Prompter::ending(); }

private:
    QWidget* dialogOwner() const override { return m_owner; }
    QWidget* mainWindow() const override { return m_window; }
    bool execOwned(QDialog& dialog) override;
    // Every dialog runs through here, so a termination signal can find and cancel the open ones.
    int execTracked(QDialog& dialog) override;

    DialogViews m_views;
    QWidget* m_owner;                      // of the next prompt: the main window, or the dialog open now
    QWidget* m_window;                     // the main window
    std::vector<QPointer<QDialog>> m_open; // innermost last
};

// "Text files|*.txt|All|*.*" as a Qt name filter list: "Text files (*.txt);;All (*.*)".
QString qtNameFilters(const QString& pipeFilter);
