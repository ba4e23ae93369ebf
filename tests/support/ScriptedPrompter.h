#pragma once

#include "platform/Prompter.h"
#include "support/Printers.h"

#include <deque>
#include <variant>
#include <vector>

// Answers prompts from a script written by the test, and records every message shown. A message with only
// an OK button needs no answer; any other prompt without a scripted answer fails the test.
class ScriptedPrompter : public Prompter
{
public:
    struct Shown
    {
        MessageKind kind;
        QString text;
        MessageButtons buttons;
        MessageButton defaultButton;
    };

    using DialogAnswer = std::function<bool(DialogModel&)>;

    void answerMessage(MessageButton button) { m_script.emplace_back(button); }
    void answerInput(std::optional<QString> text) { m_script.emplace_back(InputAnswer{std::move(text)}); }
    void answerFile(std::optional<QString> path) { m_script.emplace_back(FileAnswer{std::move(path)}); }
    void answerColor(std::optional<int> color) { m_script.emplace_back(ColorAnswer{color}); }
    void answerDialog(DialogAnswer answer) { m_script.emplace_back(std::move(answer)); }

    bool scriptUsedUp() const { return m_script.empty(); }
    QStringList messageTexts() const;

    std::vector<Shown> messages;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<std::pair<QString, QString>> inputs; // caption, prompt

    MessageButton message(MessageKind kind, const QString& text, MessageButtons buttons,
                          MessageButton defaultButton) override;
    std::optional<QString> inputBox(const QString& caption, const QString& prompt, const QString& initial) override;
    std::optional<QString> openFileName(const FileDialogRequest& request) override;
    std::optional<QString> saveFileName(const FileDialogRequest& request) override;
    std::optional<int> chooseColor(int initial) override;
    bool execDialog(DialogModel& model) override;

private:
    struct InputAnswer
    {
        std::optional<QString> text;
    };
    struct FileAnswer
    {
        std::optional<QString> path;
    };
    struct ColorAnswer
    {
        std::optional<int> color;
    };
    using Answer = std::variant<MessageButton, InputAnswer, FileAnswer, ColorAnswer, DialogAnswer>;

    template <typename T> std::optional<T> next(const char* what);

    std::deque<Answer> m_script;
};
