#pragma once

#include <QString>

#include <functional>

// The desktop's "open": a document with the program registered for it, or an address in the browser. Opening
// goes on in the background; `failed` runs later, on the calling thread, when nothing could open it (no
// viewer for the document, no browser).
class DesktopShell
{
public:
    using Failed = std::function<void()>;

    virtual ~DesktopShell() = default;
    virtual void openDocument(const QString& nativePath, Failed failed) = 0;
    virtual void openAddress(const QString& url, Failed failed) = 0;
};
