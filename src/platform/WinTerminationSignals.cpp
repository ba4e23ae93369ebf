#include "TerminationSignals.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <windows.h>

namespace {

std::function<void()> g_request;
std::function<void()> g_sessionEnd;

void postRequest()
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { g_request(); }, Qt::QueuedConnection);
}

// Runs on a thread the console starts for the event.
BOOL WINAPI consoleEvent(DWORD event)
{
    postRequest();
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT)
        return TRUE; // handled: the program closes itself
    // A closed console, a logoff or a shutdown ends the process once this returns; until then the close runs,
    // and the process ending with it ends this thread too.
    ::Sleep(INFINITE);
    return TRUE;
}

// WM_ENDSESSION comes to every top-level window once all programs agreed to end the session; the system ends
// the process as soon as it has been answered.
class SessionEndFilter : public QAbstractNativeEventFilter
{
public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "windows_generic_MSG")
            return false;
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message != WM_ENDSESSION || !msg->wParam || m_ended)
            return false;
        m_ended = true;
        if (g_sessionEnd)
            g_sessionEnd();
        // Whatever was waiting below this message (a dialog's operation the close cancelled) must not go on
        // writing once the close has saved: the process ends now rather than at the system's word a moment later.
        ::TerminateProcess(::GetCurrentProcess(), 0);
        return true;
    }

private:
    bool m_ended = false;
};

} // namespace

void onTerminationRequest(std::function<void()> handler)
{
    if (g_request)
        return;
    g_request = std::move(handler);
    ::SetConsoleCtrlHandler(consoleEvent, TRUE);
}

void onSessionEnd(std::function<void()> handler)
{
    if (g_sessionEnd)
        return;
    g_sessionEnd = std::move(handler);
    QCoreApplication::instance()->installNativeEventFilter(new SessionEndFilter);
}
