#pragma once

#include <QObject>

class MainController;
class QtPrompter;
class QWidget;

// A termination signal (logout, Ctrl+C, kill, a closed terminal) closes the program whatever it is doing:
// control records stop at once, open dialogs end as Cancel, later prompts are answered Cancel without being
// shown, and once their loops have unwound the main window closes the normal way, so a running panel is
// stopped and its children reaped. The end of the session comes in here as well.
class CloseOnSignal : public QObject
{
    Q_OBJECT

public:
    CloseOnSignal(QtPrompter& prompter, MainController& controller, QWidget& window, QObject* parent = nullptr);

    // Called on the event loop's thread for every signal; a second one while closing changes nothing.
    void request();
    bool requested() const { return m_requested; }

    // The end of a Windows session: the process ends as soon as this returns, so the close cannot wait for
    // cancelled dialogs to unwind. It runs at once, below whatever is open; what waits there never resumes.
    void finishNow();

    // Until the message loop runs, the program entry closes the window itself after start-up unwinds.
    void setMessageLoopRunning() { m_messageLoop = true; }

private:
    void closeWhenIdle();

    QtPrompter& m_prompter;
    MainController& m_controller;
    QWidget& m_window;
    bool m_requested = false;
    bool m_messageLoop = false;
    bool m_scheduled = false;
};
