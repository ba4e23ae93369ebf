#pragma once

#include "DesktopShell.h"

#include <QObject>

class QUrl;

// xdg-open, watched: it ends with an error when the desktop has no program for the document or address.
// Without xdg-open, Qt's own means (a browser it knows) are tried, which report only whether one started.
class QtDesktopShell : public DesktopShell
{
public:
    ~QtDesktopShell() override;

    void openDocument(const QString& nativePath, Failed failed) override;
    void openAddress(const QString& url, Failed failed) override;

private:
    void open(const QUrl& url, Failed failed);

    QObject m_running; // parent of the xdg-open processes still running
};
