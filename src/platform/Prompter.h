#pragma once

#include <QFlags>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Plain: no icon, titled with the program's name.
enum class MessageKind
{
    Error,
    Warning,
    Information,
    Confirmation,
    Plain
};

enum class MessageButton
{
    None = 0x0,
    Ok = 0x1,
    Cancel = 0x2,
    Yes = 0x4,
    No = 0x8,
    // "Fit to These Monitors": the repair offered beside the monitor check's question.
    FitToMonitors = 0x10
};
Q_DECLARE_FLAGS(MessageButtons, MessageButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(MessageButtons)

struct FileDialogRequest
{
    QString title;
    QString filter;        // "Description|*.ext|..." pairs, as the stored dialogs describe them
    QString initialFolder; // native path, may be empty
    QString fileName;      // proposed name, may be empty
    QString defaultExtension;
};

// The state behind a modal dialog (panel setup, chooser, ...). The window shown for it is picked by the
// model's type, so the logic only ever sees the model.
class DialogModel
{
public:
    virtual ~DialogModel() = default;
};

// Every modal interaction of the logic with the user. The program answers it with Qt dialogs; tests answer
// from a script. It counts the dialogs it has open, so requests from outside the user's own actions (control
// datagrams) can wait for exactly as long as one is open.
class Prompter : public QObject
{
    Q_OBJECT

public:
    // Counts one open dialog for as long as it lives.
    class ModalScope
    {
    public:
        explicit ModalScope(Prompter& prompter) : m_prompter(prompter) { ++m_prompter.m_openDialogs; }
        ~ModalScope() { m_prompter.dialogClosed(); }
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;

    private:
        Prompter& m_prompter;
    };

    ~Prompter() override = default;

    // Returns the button the user pressed (Cancel or No when closed without choosing, whichever is offered).
    virtual MessageButton message(MessageKind kind, const QString& text, MessageButtons buttons = MessageButton::Ok,
                                  MessageButton defaultButton = MessageButton::None) = 0;
    virtual std::optional<QString> inputBox(const QString& caption, const QString& prompt, const QString& initial) = 0;
    virtual std::optional<QString> openFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFileName(const FileDialogRequest& request) = 0;
    // Colours as stored: 0x00BBGGRR.
    virtual std::optional<int> chooseColor(int initial) = 0;
    // Shows the dialog for the model; true when it was confirmed (OK).
    virtual bool execDialog(DialogModel& model) = 0;
    // True while a dialog of this prompter is open.
    bool modalOpen() const { return m_openDialogs > 0; }

    // The program is ending on a termination signal: open dialogs end as Cancel, and every later prompt is
    // answered the way that changes nothing, without being shown.
    virtual void cancelAll() { m_ending = true; }
    bool ending() const { return m_ending; }

    void showError(const QString& text)
    {
        emit errorShown(text);
        message(MessageKind::Error, text);
    }

signals:
    void lastModalClosed();
    // An error is about to be shown to the user; for the log.
    void errorShown(const QString& text);

private:
    void dialogClosed()
    {
        if (--m_openDialogs == 0)
            emit lastModalClosed();
    }

    bool m_ending = false;
    int m_openDialogs = 0;
};

// The general error display: runs an operation; an error raised in it ends the operation and its text is
// shown in a message box. Returns true when the operation ran to its end.
bool runGuarded(Prompter& prompter, const std::function<void()>& operation);
