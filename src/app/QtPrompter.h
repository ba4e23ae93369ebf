#pragma once

#include "Prompter.h"

#include <QPointer>

#include <vector>

class QDialog;
class QWidget;
class TfrmSelAdapter;

// Answers the logic's prompts with Qt's dialogs, owned by the given window.
class QtPrompter : public Prompter
{
public:
    explicit QtPrompter(QWidget* owner = nullptr) : m_owner(owner) {}
    ~QtPrompter() override;
    void setOwner(QWidget* owner) { m_owner = owner; }

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

    // The adapter chooser lives for the whole run; the program makes it at start-up, after the main window.
    TfrmSelAdapter* adapterChooser();

private:
    bool execOwned(QDialog& dialog);
    // Every dialog runs through here, so a termination signal can find and cancel the open ones.
    int execTracked(QDialog& dialog);

    QWidget* m_owner;
    QPointer<TfrmSelAdapter> m_adapterChooser;
    std::vector<QPointer<QDialog>> m_open; // innermost last
};

// "Text files|*.txt|All|*.*" as a Qt name filter list: "Text files (*.txt);;All (*.*)".
QString qtNameFilters(const QString& pipeFilter);
