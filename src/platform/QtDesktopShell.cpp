#include "QtDesktopShell.h"

#include <QDesktopServices>
#include <QUrl>

void QtDesktopShell::openDocument(const QString& nativePath)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(nativePath));
}

void QtDesktopShell::openAddress(const QString& url)
{
    QDesktopServices::openUrl(QUrl(url));
}
