#include "app/CloseOnSignal.h"
#include "app/MainController.h"
#include "app/ProgramViews.h"
#include "app/QtPrompter.h"
#include "app/TfrmMain.h"
#include "platform/TerminationSignals.h"
#include "support/GuiScript.h"
#include "support/RecordingSeams.h"
#include "support/TestPlatform.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <QToolButton>

#include <csignal>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The signal handler can be installed once per process; it reaches the closer of the running test.
CloseOnSignal* g_closer = nullptr;

// The real window, the real prompter with Qt's dialogs and the real signal path; only the subsystems behind
// start-up and shutdown are recorded.
struct SignalWhileOpen : ::testing::Test
{
    TestPlatform t;
    QtPrompter prompter{programViews()};
    RecordingSeams seams;
    std::unique_ptr<MainController> controller;
    std::unique_ptr<TfrmMain> window;
    std::unique_ptr<CloseOnSignal> closer;

    void SetUp() override
    {
        onTerminationRequest([] {
            if (g_closer)
                g_closer->request();
        });
        seams.existingPanels = {"Cockpit"};
        TestPlatform::writeBytes(t.panelFolder("Cockpit") + "/Cockpit.cfg", "");
        TestPlatform::writeBytes(t.settingsFile(), "[Config]\r\nLastPanelUsed=Cockpit\r\n");
        controller = std::make_unique<MainController>(t.platform(), prompter, QStringList());
        controller->setSeams(seams);
        window = std::make_unique<TfrmMain>(*controller);
        prompter.setOwner(window.get());
        closer = std::make_unique<CloseOnSignal>(prompter, *controller, *window);
        g_closer = closer.get();
        window->show();
        controller->startUp();
        closer->setMessageLoopRunning();
        seams.calls.clear();
    }
    void TearDown() override { g_closer = nullptr; }

    // Runs the message loop until the window is gone, or fails after a while instead of hanging.
    bool closesWithin(int milliseconds)
    {
        QElapsedTimer timer;
        timer.start();
        while (window->isVisible() && timer.elapsed() < milliseconds)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (window->isVisible()) {
            // Free whatever is still open so the next test starts clean.
            closeOpenDialogs();
            return false;
        }
        return true;
    }

    // Once the prompt a step opens is showing, the signal arrives (twice: a second kill while closing).
    void signalWhenShown(std::function<bool()> shown, int signal)
    {
        auto* poll = new QTimer(window.get());
        QObject::connect(poll, &QTimer::timeout, poll, [poll, shown, signal] {
            if (!shown())
                return;
            poll->deleteLater();
            poll->stop();
            ::raise(signal);
            ::raise(signal);
        });
        poll->start(10);
    }

    static QWidget* modal() { return QApplication::activeModalWidget(); }
    static const QStringList& closeSequence()
    {
        static const QStringList calls = {"EndControlDelivery", "SaveLoadedPanel(Cockpit)", "DestroyProcessList",
                                          "StopControlListener"};
        return calls;
    }
};

} // namespace

TEST_F(SignalWhileOpen, AQuestionEndsAsNoAndTheProgramCloses)
{
    QTimer::singleShot(0, window.get(), [this] { window->action("aDeletePanel")->trigger(); });
    signalWhenShown([] { return qobject_cast<QMessageBox*>(modal()) != nullptr; }, SIGTERM);

    ASSERT_TRUE(closesWithin(5000));
    EXPECT_TRUE(QFile::exists(t.panelFolder("Cockpit") + "/Cockpit.cfg")) << "the delete was not confirmed";
    EXPECT_EQ(seams.calls, closeSequence()) << "closed once, after the question was answered";
    EXPECT_EQ(TestPlatform::readBytes(t.settingsFile()), QByteArray("[Config]\r\nLastPanelUsed=Cockpit\r\n"));
}

TEST_F(SignalWhileOpen, NestedDialogsAllEndAsCancel)
{
    // New Panel's setup dialog, and the colour chooser opened from it.
    QTimer::singleShot(0, window.get(), [this] { window->action("aNewPanel")->trigger(); });
    bool colourAsked = false;
    auto* opener = new QTimer(window.get());
    QObject::connect(opener, &QTimer::timeout, opener, [opener, &colourAsked] {
        QWidget* setup = modal();
        if (!setup || setup->objectName() != "frmPanel")
            return;
        opener->stop();
        colourAsked = true;
        if (auto* colour = child<QToolButton>(setup, "btnColor"))
            colour->click();
    });
    opener->start(10);
    signalWhenShown([] { return qobject_cast<QColorDialog*>(modal()) != nullptr; }, SIGINT);

    ASSERT_TRUE(closesWithin(5000));
    EXPECT_TRUE(colourAsked);
    EXPECT_FALSE(QFile::exists(t.panelFolder("[New Panel]"))) << "nothing of the cancelled panel is created";
    EXPECT_EQ(seams.calls, closeSequence());
}

TEST_F(SignalWhileOpen, AFailedSaveShownOnCloseDoesNotHoldTheProgram)
{
    // The user closes the window; the save fails and its message is open when the signal comes.
    seams.failSave = true;
    QTimer::singleShot(0, window.get(), [this] { window->close(); });
    signalWhenShown([] { return qobject_cast<QMessageBox*>(modal()) != nullptr; }, SIGHUP);

    testing::internal::CaptureStderr();
    const bool closed = closesWithin(5000);
    const std::string errors = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(closed);
    EXPECT_NE(errors.find("Unable to write to list"), std::string::npos) << "the unread message is kept: " << errors;
    EXPECT_EQ(seams.calls, closeSequence());
}

TEST_F(SignalWhileOpen, PromptsAfterTheSignalAreNotShown)
{
    prompter.cancelAll();
    testing::internal::CaptureStderr();
    EXPECT_EQ(prompter.message(MessageKind::Confirmation, "Sure?", MessageButton::Yes | MessageButton::No,
                               MessageButton::Yes),
              MessageButton::No);
    EXPECT_EQ(prompter.message(MessageKind::Error, "It failed", MessageButton::Ok, MessageButton::None),
              MessageButton::Ok);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: It failed\n") << "reports are kept, questions not";
    EXPECT_EQ(prompter.inputBox("Name", "Panel Name", "x"), std::nullopt);
    EXPECT_EQ(prompter.chooseColor(0), std::nullopt);
    EXPECT_EQ(prompter.openFileName({}), std::nullopt);
    EXPECT_EQ(modal(), nullptr);
}
