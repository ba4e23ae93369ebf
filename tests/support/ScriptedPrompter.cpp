#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

template <typename T> std::optional<T> ScriptedPrompter::next(const char* what)
{
    if (m_script.empty() || !std::holds_alternative<T>(m_script.front())) {
        ADD_FAILURE() << "no scripted answer for " << what;
        return std::nullopt;
    }
    T answer = std::get<T>(std::move(m_script.front()));
    m_script.pop_front();
    return answer;
}

QStringList ScriptedPrompter::messageTexts() const
{
    QStringList texts;
    for (const auto& m : messages)
        texts << m.text;
    return texts;
}

MessageButton ScriptedPrompter::message(MessageKind kind, const QString& text, MessageButtons buttons,
                                        MessageButton defaultButton)
{
    const ModalScope open(*this);
    messages.push_back({kind, text, buttons, defaultButton});
    if (buttons == MessageButtons(MessageButton::Ok))
        return MessageButton::Ok;
    const auto answer = next<MessageButton>(qPrintable(QStringLiteral("message \"%1\"").arg(text)));
    return answer.value_or(buttons.testFlag(MessageButton::Cancel) ? MessageButton::Cancel : MessageButton::No);
}

std::optional<QString> ScriptedPrompter::inputBox(const QString& caption, const QString& prompt, const QString&)
{
    const ModalScope open(*this);
    inputs.emplace_back(caption, prompt);
    const auto answer = next<InputAnswer>("input box");
    return answer ? answer->text : std::nullopt;
}

std::optional<QString> ScriptedPrompter::openFileName(const FileDialogRequest& request)
{
    const ModalScope open(*this);
    fileRequests.push_back(request);
    const auto answer = next<FileAnswer>("open-file dialog");
    return answer ? answer->path : std::nullopt;
}

std::optional<QString> ScriptedPrompter::saveFileName(const FileDialogRequest& request)
{
    const ModalScope open(*this);
    fileRequests.push_back(request);
    const auto answer = next<FileAnswer>("save-file dialog");
    return answer ? answer->path : std::nullopt;
}

std::optional<int> ScriptedPrompter::chooseColor(int)
{
    const ModalScope open(*this);
    const auto answer = next<ColorAnswer>("colour dialog");
    return answer ? answer->color : std::nullopt;
}

bool ScriptedPrompter::execDialog(DialogModel& model)
{
    const ModalScope open(*this); // a scripted answer is given while the dialog counts as open
    const auto answer = next<DialogAnswer>(typeid(model).name());
    return answer ? (*answer)(model) : false;
}
