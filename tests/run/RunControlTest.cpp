#include "run/RunControl.h"
#include "app/Session.h"
#include "net/AdapterChooser.h"
#include "platform/Errors.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QUdpSocket>

#include <gtest/gtest.h>

namespace {

struct StartPanel : ::testing::Test
{
    TestPlatform t;
    ScriptedProcesses children;
    ScriptedPrompter prompter;
    Session s{t.platform(children), prompter};
    RunControl run{s.platform(),          s.prompter(),    s.folders, s.settings,
                   s.LocalIPAddressToUse, s.StartupLayout, s.loaded()};
    QStringList cursor;

    StartPanel()
    {
        s.folders = ResolveFolders(t.env, t.files);
        s.loaded().record().Name = QStringLiteral("Cockpit");
        InstrumentRow gauge;
        gauge.field(InstrumentRow::PortNo) = QStringLiteral("47000");
        gauge.field(InstrumentRow::PathName) = QStringLiteral("Instruments_Standard\\P@Airspeed.exe");
        s.loaded().instruments().setRows({gauge});
        QObject::connect(&run, &RunControl::busyChanged, [this](bool busy) { cursor << (busy ? "busy" : "normal"); });
        run.CreateProcessList();
    }

    QByteArray settingsFile() const { return TestPlatform::readBytes(t.settingsFile()); }
    bool listSaved() const { return QFile::exists(t.panelFolder("Cockpit") + "/Cockpit.cfg"); }
    // Nothing of Start after the questions happened.
    void expectUntouched()
    {
        EXPECT_FALSE(run.isRunning());
        EXPECT_TRUE(children.launched.isEmpty());
        EXPECT_TRUE(t.power.calls.isEmpty());
        EXPECT_TRUE(cursor.isEmpty());
        EXPECT_FALSE(listSaved());
    }
};

} // namespace

TEST_F(StartPanel, AdapterAddressFromTheListTheStoredValueOrTheChooser)
{
    const QString a = QStringLiteral("10.0.0.5"), b = QStringLiteral("192.168.1.20");
    const struct
    {
        QStringList addresses;
        QString stored;
        bool chooserShown;
        QString used;
        QByteArray saved; // AdapterIPAddress written by Start, empty for none
    } cases[] = {
        {{a}, "Auto", false, a, "Auto"},
        {{a}, "172.16.0.9", false, a, "Auto"}, // one adapter: nothing to remember
        {{a, b}, "Auto", true, b, b.toLatin1()},
        {{a, b}, "172.16.0.9", false, "172.16.0.9", ""}, // used unchanged, even though the PC lacks it
        {{a, a}, "auto", false, "auto", ""},             // only the exact "Auto" asks
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.addresses.join(u' ') + u'/' + c.stored).toStdString());
        QFile::remove(t.settingsFile());
        t.addresses.addresses = c.addresses;
        s.LocalIPAddressToUse = c.stored;
        bool shown = false;
        if (c.chooserShown)
            prompter.answerDialog([&](DialogModel& m) {
                shown = true;
                dynamic_cast<AdapterChooserModel&>(m).selected = 1;
                return false; // closed without OK: the selection counts all the same
            });
        run.aStartPanelExecute();
        EXPECT_EQ(shown, c.chooserShown);
        EXPECT_EQ(s.LocalIPAddressToUse, c.used);
        EXPECT_TRUE(run.isRunning());
        EXPECT_TRUE(children.launched.last().contains(u'"' + c.used + u'"')) << qPrintable(children.launched.last());
        if (c.saved.isEmpty()) {
            EXPECT_FALSE(settingsFile().contains("AdapterIPAddress"));
        } else {
            EXPECT_TRUE(settingsFile().contains("AdapterIPAddress=" + c.saved + "\r\n"));
        }
        run.aStopPanelExecute();
    }
}

TEST_F(StartPanel, NoAddressEndsStartWithAPlainMessage)
{
    t.addresses.addresses.clear();
    run.aStartPanelExecute();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].kind, MessageKind::Plain);
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral("Could not find a valid IP Address!"));
    expectUntouched();
    EXPECT_FALSE(settingsFile().contains("AdapterIPAddress"));
}

TEST_F(StartPanel, MonitorQuestionsDefaultToNoAndOnlyYesGoesOn)
{
    const QString countText = QStringLiteral(
        "Current number of monitors does not match the panel's configured number of monitors! - Continue?");
    const QString sizeText = QStringLiteral(
        "Current dimension of monitors does not match the panel's configured dimension of monitors! - Continue?");
    MonitorLayout one;
    one.ScreenCount = 1;
    one.ScreenWidth[0] = 1920;
    one.ScreenHeight[0] = 1080;
    MonitorLayout two = one;
    two.ScreenCount = 2;
    MonitorLayout smaller = one;
    smaller.ScreenWidth[0] = 1280;

    const struct
    {
        bool checking;
        MonitorLayout panel;
        QString question; // empty: none asked
        MessageButton answer;
    } cases[] = {
        {true, two, countText, MessageButton::No},  {true, smaller, sizeText, MessageButton::No},
        {true, two, countText, MessageButton::Yes}, {true, one, {}, MessageButton::None},
        {false, two, {}, MessageButton::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.question.left(20) + u' ' + QString::number(int(c.answer))).toStdString());
        prompter.messages.clear();
        t.power.calls.clear();
        s.settings.MonitorChecking = c.checking;
        s.StartupLayout = one;
        s.loaded().record().Layout = c.panel;
        if (!c.question.isEmpty())
            prompter.answerMessage(c.answer);
        run.aStartPanelExecute();

        if (c.question.isEmpty()) {
            EXPECT_TRUE(prompter.messages.empty());
        } else {
            ASSERT_EQ(prompter.messages.size(), 1u);
            const ScriptedPrompter::Shown& shown = prompter.messages[0];
            EXPECT_EQ(shown.kind, MessageKind::Warning);
            EXPECT_EQ(shown.text, c.question);
            EXPECT_EQ(shown.buttons, MessageButton::Yes | MessageButton::No);
            EXPECT_EQ(shown.defaultButton, MessageButton::No);
        }
        const bool started = c.answer != MessageButton::No;
        EXPECT_EQ(run.isRunning(), started);
        if (!started) {
            expectUntouched();
            // The adapter choice before the question stays saved.
            EXPECT_TRUE(settingsFile().contains("AdapterIPAddress=Auto\r\n"));
        }
        run.aStopPanelExecute();
    }
}

TEST_F(StartPanel, AFailureAfterThePreparationEndsWhatRunsAndGivesTheDesktopBack)
{
    children.failAtLaunch = 1; // the background starts, the gauge fails
    std::vector<bool> runningChanges;
    QObject::connect(&run, &RunControl::runningChanged, [&](bool running) { runningChanges.push_back(running); });
    EXPECT_TRUE(runGuarded(prompter, [&] { run.aStartPanelExecute(); }) == false);

    EXPECT_EQ(prompter.messageTexts(), QStringList{QStringLiteral("Out of process slots")});
    EXPECT_EQ(children.terminated, std::vector<long long>{1001});
    EXPECT_TRUE(run.processList()->isEmpty());
    EXPECT_FALSE(run.isRunning());
    EXPECT_EQ(runningChanges, (std::vector<bool>{true, false})) << "the window must see the editing state again";
    EXPECT_FALSE(run.relay().isRunning());
    EXPECT_EQ(t.power.calls, (QStringList{"screenSaver query", "screenSaver off", "sleep inhibited", "screenSaver on",
                                          "sleep allowed"}));
    EXPECT_EQ(cursor, (QStringList{"busy", "normal"}));
}

TEST_F(StartPanel, AListThatCannotBeSavedStopsStartBeforeTheDesktopIsTouched)
{
    // A file where the panel folder should be: the list cannot be written.
    TestPlatform::writeBytes(t.panelFolder("Cockpit"), "in the way");
    EXPECT_FALSE(runGuarded(prompter, [&] { run.aStartPanelExecute(); }));
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_FALSE(run.isRunning());
    EXPECT_TRUE(t.power.calls.isEmpty());
    EXPECT_TRUE(children.launched.isEmpty());
    EXPECT_EQ(cursor, (QStringList{"busy", "normal"}));
}

TEST_F(StartPanel, TheFlightDataRelayRunsWithThePanelAndItsChildrenLearnItsPort)
{
    QUdpSocket probe;
    ASSERT_TRUE(probe.bind(QHostAddress::AnyIPv4, 0));
    const QString port = QString::number(probe.localPort());
    probe.close();
    s.settings.RelayPort = port;
    run.aStartPanelExecute();
    ASSERT_TRUE(run.relay().isRunning());
    EXPECT_EQ(run.relay().status().port, port.toUInt());
    const ChildVariables expected{{"VARNOLT_RELAY_PORT", port}};
    EXPECT_EQ(children.variables, (std::vector<ChildVariables>{expected, expected})); // background and gauge
    run.aStopPanelExecute();
    EXPECT_FALSE(run.relay().isRunning());
    EXPECT_TRUE(probe.bind(QHostAddress::AnyIPv4, port.toUShort())) << "the port is free again";

    // Its port taken: the panel runs without it, and the reason is there to show.
    children.variables.clear();
    run.aStartPanelExecute();
    EXPECT_TRUE(run.isRunning());
    EXPECT_FALSE(run.relay().isRunning());
    EXPECT_TRUE(run.relay().status().problem.startsWith("cannot receive on UDP port " + port));
    EXPECT_EQ(children.variables, (std::vector<ChildVariables>{{}, {}}));
    EXPECT_TRUE(prompter.messages.empty());
    run.aStopPanelExecute();
}

TEST_F(StartPanel, AnEmptyPanelStillRuns)
{
    s.loaded().record().ShowBackground = false;
    s.loaded().instruments().clear();
    run.aStartPanelExecute();
    EXPECT_TRUE(run.isRunning());
    EXPECT_TRUE(run.processList()->isEmpty());
    run.aStopPanelExecute();
    EXPECT_FALSE(run.isRunning());
}

// Start asks its own question, whoever calls it: without a loaded panel, or while one runs, nothing happens.
TEST_F(StartPanel, StartsOnlyALoadedPanelThatIsNotRunning)
{
    s.loaded().record().Name.clear();
    run.aStartPanelExecute();
    expectUntouched();
    EXPECT_TRUE(prompter.messages.empty());

    s.loaded().record().Name = QStringLiteral("Cockpit");
    run.aStartPanelExecute();
    ASSERT_TRUE(run.isRunning());
    const QStringList launched = children.launched;
    const QStringList cursorAfterStart = cursor;
    run.aStartPanelExecute();
    EXPECT_EQ(children.launched, launched);
    EXPECT_EQ(cursor, cursorAfterStart);
}

TEST_F(StartPanel, AProgramClosedWhileStartWaitsForTheUserStartsNothing)
{
    // The close arrives while the adapter chooser is open (a termination signal, a datagram-driven start).
    t.addresses.addresses = {QStringLiteral("10.0.0.5"), QStringLiteral("192.168.1.20")};
    prompter.answerDialog([this](DialogModel&) {
        run.DestroyProcessList();
        return true;
    });
    run.aStartPanelExecute();
    EXPECT_FALSE(run.isRunning());
    EXPECT_TRUE(children.launched.isEmpty());
    EXPECT_TRUE(t.power.calls.isEmpty());
    EXPECT_TRUE(cursor.isEmpty());
}

TEST_F(StartPanel, AChooserDismissedByATerminationSignalStoresAndStartsNothing)
{
    t.addresses.addresses = {QStringLiteral("10.0.0.5"), QStringLiteral("192.168.1.20")};
    TestPlatform::writeBytes(t.settingsFile(), "[Config]\r\nAdapterIPAddress=Auto\r\n");
    prompter.answerDialog([this](DialogModel&) {
        prompter.cancelAll();
        return false;
    });
    run.aStartPanelExecute();
    expectUntouched();
    EXPECT_EQ(settingsFile(), QByteArray("[Config]\r\nAdapterIPAddress=Auto\r\n")) << "nobody chose an adapter";
    EXPECT_EQ(s.LocalIPAddressToUse, "Auto");
}

TEST_F(StartPanel, TheMonitorQuestionOffersTheRepairWhichStartsThePanelWhenItSucceeds)
{
    s.settings.MonitorChecking = true;
    s.StartupLayout.ScreenCount = 2;
    s.loaded().record().Layout.ScreenCount = 1;
    for (const bool repaired : {false, true}) {
        SCOPED_TRACE(repaired);
        prompter.messages.clear();
        int repairs = 0;
        run.setMonitorRepair([&] {
            ++repairs;
            return repaired;
        });
        prompter.answerMessage(MessageButton::FitToMonitors);
        run.aStartPanelExecute();
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text,
                  "Current number of monitors does not match the panel's configured number of monitors! - Continue?");
        EXPECT_EQ(prompter.messages[0].buttons, MessageButton::Yes | MessageButton::No | MessageButton::FitToMonitors);
        EXPECT_EQ(repairs, 1);
        EXPECT_EQ(run.isRunning(), repaired);
        run.aStopPanelExecute();
    }
}
