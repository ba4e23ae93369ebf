#pragma once

#include <QString>

// The desktop's "open": a document with the program registered for it, or an address in the browser.
class DesktopShell
{
public:
    virtual ~DesktopShell() = default;
    virtual void openDocument(const QString& nativePath) = 0;
    virtual void openAddress(const QString& url) = 0;
};
