#pragma once

#include "DesktopShell.h"

// The shell's "open" verb (ShellExecuteW): the program registered for the document, or the browser for an
// address. The shell reports at once whether it found one.
class WinDesktopShell : public DesktopShell
{
public:
    void openDocument(const QString& nativePath, Failed failed) override;
    void openAddress(const QString& url, Failed failed) override;
};
