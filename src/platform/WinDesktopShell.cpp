#include "WinDesktopShell.h"

#include <QDir>
#include <QGuiApplication>
#include <QMetaObject>
#include <QWindow>

#include <windows.h>

#include <shellapi.h>

namespace {

void open(const QString& what, DesktopShell::Failed failed)
{
    // Owned by the window in front, so whatever the shell itself shows stays with it.
    const QWindow* front = QGuiApplication::focusWindow();
    const HWND owner = front ? reinterpret_cast<HWND>(front->winId()) : nullptr;
    const HINSTANCE result =
        ::ShellExecuteW(owner, L"open", what.toStdWString().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // Values up to 32 are errors: no program for the document, no browser, no such file.
    if (reinterpret_cast<INT_PTR>(result) > 32 || !failed)
        return;
    QMetaObject::invokeMethod(qApp, std::move(failed), Qt::QueuedConnection);
}

} // namespace

void WinDesktopShell::openDocument(const QString& nativePath, Failed failed)
{
    open(QDir::toNativeSeparators(nativePath), std::move(failed));
}

void WinDesktopShell::openAddress(const QString& url, Failed failed)
{
    open(url, std::move(failed));
}
