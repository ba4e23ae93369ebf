#include "Program.h"

#include "MainController.h"
#include "QtPrompter.h"
#include "TfrmMain.h"
#include "TfrmSplash.h"
#include "platform/Environment.h"
#include "platform/LocalFileSystem.h"
#include "platform/LocaleService.h"
#include "platform/Processes.h"
#include "platform/ProfileIni.h"
#include "platform/QtDesktopShell.h"
#include "platform/ScreenMonitors.h"
#include "platform/TerminationSignals.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

int runProgram(QApplication& app, const ProgramOptions& options)
{
    auto* splash = new TfrmSplash;
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    QApplication::setApplicationName(QStringLiteral("Varnolt Professional"));
    QFont font(QStringLiteral("Tahoma"), 8);
    QApplication::setFont(font);

    ProfileIni ini;
    LocalFileSystem files;
    ScreenMonitors monitors;
    SystemLocale locale;
    ProcessEnvironment env;
    QtDesktopShell shell;
    PosixProcesses processes;
    const Platform platform{&ini, &files, &monitors, &locale, &env, &shell, &processes};

    QtPrompter prompter;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    MainController controller(platform, prompter, arguments);
    TfrmMain frmMain(controller);
    prompter.setOwner(&frmMain);
    onTerminationRequest([&frmMain] { frmMain.close(); });

    if (options.splashMilliseconds > 0) {
        QEventLoop wait;
        QTimer::singleShot(options.splashMilliseconds, &wait, &QEventLoop::quit);
        wait.exec();
    }
    delete splash;

    frmMain.show();
    return app.exec();
}
