#include "Program.h"

#include "Artwork.h"
#include "CloseOnSignal.h"
#include "MainController.h"
#include "ProgramViews.h"
#include "QtPrompter.h"
#include "SingleInstance.h"
#include "TfrmMain.h"
#include "TfrmSplash.h"
#include "TrayIcon.h"
#include "platform/Environment.h"
#include "platform/SystemCritical.h"
#include "platform/SystemServices.h"
#include "platform/TerminationSignals.h"

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>

int runProgram(QApplication& app, const ProgramOptions& options)
{
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    ProcessEnvironment env;
    // A copy already runs for this user and settings folder: it takes the command line (and shows its window
    // or starts the panel asked for), and this start ends before it shows anything.
    SingleInstance instance(SingleInstance::keyFor(SettingsFolderPath(env)));
    if (instance.handOver(arguments))
        return 0;
    instance.listen();

    // The one keep-awake request of the process exists before any window and is withdrawn after the loop.
    SystemServices system;
    TSystemCritical systemCritical(system.power());

    // Before any window: the splash's label is in that font too, and a font added once the font list has been
    // read makes Qt read the whole list again.
    QApplication::setFont(interfaceFont());
    auto* splash = new TfrmSplash;
    splash->showPainted();
    QApplication::processEvents();

    QApplication::setApplicationName(QStringLiteral("Varnolt Professional"));
    // Lets the desktop match the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(VARNOLT_APP_ID));

    Platform platform = system.platform(app);
    platform.systemCritical = &systemCritical;

    QtPrompter prompter(programViews());
    MainController controller(platform, prompter, arguments);
    TfrmMain frmMain(controller);
    prompter.setOwner(&frmMain);
    TrayIcon tray(frmMain);
    QObject::connect(&instance, &SingleInstance::started, &controller, &MainController::startedAgain);
    CloseOnSignal closer(prompter, controller, frmMain);
    QEventLoop splashWait;
    onTerminationRequest([&closer, &splashWait] {
        closer.request();
        splashWait.quit();
    });
    onSessionEnd([&closer] { closer.finishNow(); });

    if (options.splashMilliseconds > 0 && !closer.requested()) {
        QTimer::singleShot(options.splashMilliseconds, &splashWait, &QEventLoop::quit);
        splashWait.exec();
    }
    delete splash;

    int exitCode = 0;
    // Ended before the window was shown: nothing was loaded, so nothing is saved over what the files hold.
    if (!closer.requested()) {
        frmMain.show();
        // Over the shown window, so its message boxes have their owner; a close asked for meanwhile is done
        // once it is over.
        controller.startUp();
        if (closer.requested()) {
            frmMain.close();
        } else {
            closer.setMessageLoopRunning();
            exitCode = app.exec();
        }
    }
    systemCritical.SetIsCritical(false);
    return exitCode;
}
