#include "app/MainController.h"
#include "app/TfrmMain.h"
#include "platform/TerminationSignals.h"
#include "support/RecordingSeams.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <csignal>
#include <gtest/gtest.h>

TEST(Termination, SigtermAndSighupCloseTheWindowLikeExit)
{
    TestPlatform t;
    ScriptedPrompter prompter;
    RecordingSeams seams;
    seams.existingPanels = {"Cockpit"};
    TestPlatform::writeBytes(t.settingsFile(), "[Config]\r\nLastPanelUsed=Cockpit\r\n");
    MainController controller(t.platform(), prompter, {});
    controller.setSeams(seams);
    TfrmMain window(controller);
    onTerminationRequest([&window] { window.close(); });

    for (int signal : {SIGTERM, SIGHUP}) {
        window.show();
        controller.session().setRunningState(true);
        seams.calls.clear();
        ::raise(signal);
        QElapsedTimer timer;
        timer.start();
        while (window.isVisible() && timer.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);

        EXPECT_FALSE(window.isVisible()) << signal;
        EXPECT_EQ(seams.calls, QStringList({"SaveInstrumentList(Cockpit)", "StopPanel", "DestroyProcessList",
                                            "StopControlListener"}));
    }
}
