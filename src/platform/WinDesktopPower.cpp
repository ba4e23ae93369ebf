#include "WinDesktopPower.h"

#include <QThread>

#include <windows.h>

#include <shldisp.h>

namespace {

// The list view holding the desktop icons: the first child of the desktop's "Progman" window. No window, no
// change.
void showIconView(int command)
{
    if (HWND desktop = ::FindWindowW(L"Progman", nullptr)) {
        if (HWND icons = ::GetWindow(desktop, GW_CHILD))
            ::ShowWindow(icons, command);
    }
}

void setExecutionState(bool inhibited)
{
    // The display may still switch itself off.
    ::SetThreadExecutionState(inhibited ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED : ES_CONTINUOUS);
}

} // namespace

bool WinDesktopPower::screenSaverActive()
{
    BOOL active = FALSE;
    // A refusal leaves it false, so Stop does not switch the screensaver on.
    if (!::SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0))
        return false;
    return active;
}

void WinDesktopPower::setScreenSaverActive(bool active)
{
    ::SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, active, nullptr, 0);
}

void WinDesktopPower::setSleepInhibited(bool inhibited)
{
    if (QThread::currentThread() == m_requestThread.thread()) {
        setExecutionState(inhibited);
        return;
    }
    QMetaObject::invokeMethod(
        &m_requestThread, [inhibited] { setExecutionState(inhibited); }, Qt::QueuedConnection);
}

void WinDesktopPower::hideDesktopIcons()
{
    showIconView(SW_HIDE);
}

void WinDesktopPower::showDesktopIcons()
{
    showIconView(SW_SHOW);
}

void WinDesktopPower::minimizeAllWindows()
{
    // Through the shell's automation object, as a script would. Where the shell cannot (no shell running,
    // COM refused), the windows simply stay where they are: the panel still starts.
    const HRESULT init = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellDispatch* shell = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_Shell, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                     IID_IShellDispatch, reinterpret_cast<void**>(&shell)))) {
        shell->MinimizeAll();
        shell->Release();
    }
    if (SUCCEEDED(init))
        ::CoUninitialize();
}
