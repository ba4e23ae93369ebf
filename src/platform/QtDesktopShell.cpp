#include "QtDesktopShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

QtDesktopShell::~QtDesktopShell()
{
    // Whoever would hear of a failure is gone by now. A viewer that xdg-open started stays open.
    for (QProcess* process : m_running.findChildren<QProcess*>()) {
        process->disconnect();
        process->kill();
        process->waitForFinished(1000);
    }
}

void QtDesktopShell::openDocument(const QString& nativePath, Failed failed)
{
    open(QUrl::fromLocalFile(nativePath), std::move(failed));
}

void QtDesktopShell::openAddress(const QString& url, Failed failed)
{
    open(QUrl(url), std::move(failed));
}

void QtDesktopShell::open(const QUrl& url, Failed failed)
{
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty()) {
        if (!QDesktopServices::openUrl(url) && failed)
            failed();
        return;
    }
    auto* process = new QProcess(&m_running);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process, [process, failed](int exitCode, QProcess::ExitStatus s) {
        if ((exitCode != 0 || s != QProcess::NormalExit) && failed)
            failed();
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, failed](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart)
            return;
        if (failed)
            failed();
        process->deleteLater();
    });
    process->start(xdgOpen, {url.toString(QUrl::FullyEncoded)});
}
