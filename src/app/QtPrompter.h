#pragma once

#include "platform/Prompter.h"

#include <QPointer>

#include <vector>

class QDialog;
class QWidget;
class TfrmSelAdapter;

// Answers the logic's prompts with Qt's dialogs, owned by the given window.
class QtPrompter : public Prompter
{
public:
    explicit QtPrompter(QWidget* owner = nullptr) : m_owner(owner), m_window(owner) {}
    ~QtPrompter() override;
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

    // The adapter chooser is one window for the whole run, owned by the main window; made when first needed.
    TfrmSelAdapter* adapterChooser();

private:
    bool execOwned(QDialog& dialog);
    // Every dialog runs through here, so a termination signal can find and cancel the open ones.
    int execTracked(QDialog& dialog);

    QWidget* m_owner;  // of the next prompt: the main window, or the dialog open now
    QWidget* m_window; // the main window
    QPointer<TfrmSelAdapter> m_adapterChooser;
    std::vector<QPointer<QDialog>> m_open; // innermost last
};

// "Text files|*.txt|All|*.*" as a Qt name filter list: "Text files (*.txt);;All (*.*)".
QString qtNameFilters(const QString& pipeFilter);
