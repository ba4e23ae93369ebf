#include "app/MainController.h"
#include "instruments/InstrumentListStore.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"
#include "support/Wait.h"

#include <QDir>
#include <QProcess>
#include <QScopeGuard>

#include <gtest/gtest.h>

namespace {

// One program as it runs after start-up, with stand-in children.
struct Copy
{
    TestPlatform t;
    ScriptedProcesses children;
    ScriptedPrompter prompter;
    std::unique_ptr<MainController> controller;

    Copy() { controller = std::make_unique<MainController>(t.platform(children), prompter, QStringList{}); }
    void start(const QString& listenPort, const QByteArray& lastPanel = {})
    {
        TestPlatform::writeBytes(t.settingsFile(), "[Config]\r\nLastPanelUsed=" + lastPanel +
                                                       "\r\nListenPort=" + listenPort.toLatin1() + "\r\n");
        controller->startUp();
    }
    const StatusTexts& texts() { return controller->status().texts(); }
    quint16 port() { return controller->services().listener().boundPort(); }
};

#ifndef _WIN32
// Runs `ip` in the test's own network namespace.
bool ip(const QStringList& arguments)
{
    return QProcess::execute(QStringLiteral("ip"), arguments) == 0;
}
#endif

} // namespace

TEST(ProgramStatus, ASecondCopyOnTheSamePortSaysItHearsNothing)
{
    Copy first, second;
    first.start(QStringLiteral("0"));
    ASSERT_NE(first.port(), 0);
    const QString port = QString::number(first.port());
    second.start(port);

    EXPECT_EQ(first.texts().listener, QStringLiteral("Listening 224.11.5.62:%1").arg(port));
    EXPECT_TRUE(first.texts().problem.isEmpty());
    EXPECT_EQ(second.texts().listener, QStringLiteral("Not listening: port %1 in use").arg(port));
    EXPECT_EQ(second.texts().problem,
              QStringLiteral("Control port %1 is in use by another program (is Varnolt already running?): control "
                             "records are not received.")
                  .arg(port));
    // Said in the window's status line, never in a box that would stop an unattended start.
    EXPECT_TRUE(second.prompter.messages.empty());
}

// Needs a routing table of its own to take the group's route from: the private network namespace on Linux.
#ifndef _WIN32
TEST(ProgramStatus, AGroupThatCannotBeJoinedIsSaid)
{
    if (!qEnvironmentVariableIsSet("VARNOLT_PRIVATE_NET"))
        GTEST_SKIP() << "no private network namespace here (tools/private-net.sh); not changing real routes";
    // Without a route for the group there is no interface to join it on.
    ASSERT_TRUE(ip({"route", "del", "224.0.0.0/4", "dev", "lo"}));
    const auto restore = qScopeGuard([] { ip({"route", "add", "224.0.0.0/4", "dev", "lo"}); });
    Copy copy;
    copy.start(QStringLiteral("0"));
    const QString port = QString::number(copy.port());
    EXPECT_EQ(copy.texts().listener, QStringLiteral("Listening %1 (no group)").arg(port));
    EXPECT_EQ(copy.texts().problem, QStringLiteral("Multicast group 224.11.5.62 cannot be joined: only control "
                                                   "records sent straight to this PC on port %1 are received.")
                                        .arg(port));
}
#endif

TEST(ProgramStatus, FollowsTheRecordsTheAircraftAndTheProgramsThatEnd)
{
    Copy copy;
    InstrumentRow row;
    row.field(InstrumentRow::PortNo) = QStringLiteral("47000");
    row.field(InstrumentRow::PathName) = QStringLiteral("Instruments_Standard\\P@Airspeed.exe");
    InstrumentListModel rows(copy.t.locale);
    rows.setRows({row, row});
    ASSERT_TRUE(QDir().mkpath(copy.t.panelFolder("Cockpit")));
    SaveInstrumentList(copy.t.files, copy.t.iniPath(), QStringLiteral("Cockpit"), rows,
                       {QStringLiteral("255.255.255.255"), QStringLiteral("45000")});
    copy.start(QStringLiteral("0"), "Cockpit");
    EXPECT_EQ(copy.texts().panel, "Stopped");
    EXPECT_EQ(copy.texts().activity, "No control record yet");

    copy.controller->services().remote().handleDatagram(
        {{ControlRecord::Aircraft, QStringLiteral("FA-18C_hornet")}, {ControlRecord::Start, {}}});
    ASSERT_TRUE(copy.controller->services().isRunning());
    copy.controller->status().refresh();
    const int started = int(copy.children.launched.size());
    ASSERT_GE(started, 2);
    EXPECT_EQ(copy.texts().panel, QStringLiteral("Running: %1 of %1 programs alive").arg(started));
    EXPECT_TRUE(copy.texts().activity.startsWith("Last record PNL:Start at ")) << copy.texts().activity.toStdString();
    EXPECT_TRUE(copy.texts().activity.contains(" · aircraft FA-18C_hornet")) << copy.texts().activity.toStdString();

    // Nobody asks: a program that ends by itself is noticed by the status alone.
    copy.children.ended.push_back(1002);
    EXPECT_TRUE(waitFor([&] { return copy.texts().panel.startsWith("Running: " + QString::number(started - 1)); },
                        3 * ProgramStatus::kChildPollMilliseconds));

    copy.controller->services().remote().handleDatagram({{ControlRecord::Stop, {}}});
    copy.controller->status().refresh();
    EXPECT_EQ(copy.texts().panel, "Stopped");
}

TEST(ProgramStatus, ASettingsFolderThatCannotBeCreatedIsSaidAndTheLogStaysOff)
{
    TestPlatform t;
    ScriptedPrompter prompter;
    TestPlatform::writeBytes(t.root() + "/file", "not a folder");
    t.env.appData = t.root() + "/file/appdata";
    MainController controller(t.platform(), prompter, {});
    controller.startUp();
    EXPECT_EQ(controller.status().texts().problem,
              "The settings folder \"" + QDir::toNativeSeparators(t.root() + "/file/appdata/Brondix/HarvolmPRO") +
                  "\" cannot be created: settings and panels cannot be saved.");
    EXPECT_FALSE(controller.log().isOpen());
    EXPECT_TRUE(prompter.messages.empty()) << "said in the window, never in a box that stops an unattended start";
}
