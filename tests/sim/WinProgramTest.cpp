// The real program on Windows, with its real windows and the sample gauges: control datagrams arrive through
// Winsock and switch panels, and the ways Windows ends a program (closing its window, the end of the session)
// save what Exit saves and leave no gauge running.
#include "SimSupport.h"
#include "support/Printers.h"
#include "support/SystemProbe.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace {

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The top-level windows a process has made.
std::vector<HWND> windowsOf(qint64 pid)
{
    struct Search
    {
        DWORD pid;
        std::vector<HWND> found;
    } search{DWORD(pid), {}};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == s->pid)
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool showsWindowTitled(qint64 pid, const QString& title)
{
    for (HWND w : windowsOf(pid)) {
        wchar_t text[256] = {};
        ::GetWindowTextW(w, text, 256);
        if (::IsWindowVisible(w) && QString::fromWCharArray(text) == title)
            return true;
    }
    return false;
}

// The titles of a process's windows, the hidden ones in brackets: what a failure shows.
std::string windowTitles(qint64 pid)
{
    std::string out;
    for (HWND w : windowsOf(pid)) {
        wchar_t title[256] = {};
        ::GetWindowTextW(w, title, 256);
        const std::string text = QString::fromWCharArray(title).toStdString();
        out += ::IsWindowVisible(w) ? "\"" + text + "\" " : "[" + text + "] ";
    }
    return out;
}

// What the system does when the user logs off: every top-level window is asked whether the session may end,
// then told that it ends. The answers to the question.
std::vector<LRESULT> endSession(qint64 pid)
{
    std::vector<LRESULT> answers;
    const std::vector<HWND> windows = windowsOf(pid);
    for (HWND w : windows) {
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(w, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer);
        answers.push_back(LRESULT(answer));
    }
    for (HWND w : windows) {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(w, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &ignored);
    }
    return answers;
}

} // namespace

TEST(WindowsProgram, DatagramsSwitchPanelsAndTheEndOfTheSessionSavesAndEndsEverything)
{
    Cockpit c;
    c.start({"start"}); // with real windows
    ASSERT_TRUE(waitFor([&] { return c.livePanels() == QStringList{"Hornet FA-18C_hornet"}; }, 20000));
    const qint64 hornet = c.liveGauges().begin()->second;

    // The aircraft of another panel: the running one stops and that one starts.
    c.send("PNL:A-10C_2");
    ASSERT_TRUE(waitFor([&] { return c.livePanels() == QStringList{"Warthog A-10C_2"}; }, 20000));
    EXPECT_FALSE(processRunning(hornet));
    c.send("PNL:Stop");
    ASSERT_TRUE(waitFor([&] { return c.liveGauges().empty(); }, 10000));
    c.send("PNL:Start");
    ASSERT_TRUE(waitFor([&] { return c.livePanels() == QStringList{"Warthog A-10C_2"}; }, 20000));

    // The user logs off: the program agrees, closes as Exit does, and is gone before it answers the end.
    const std::vector<LRESULT> answers = endSession(c.program.processId());
    ASSERT_FALSE(answers.empty()) << "no window of the program";
    for (LRESULT a : answers)
        EXPECT_EQ(a, TRUE) << "the program held the session up";
    EXPECT_TRUE(waitForExit(c.program, 10000));
    for (qint64 pid : c.everyGauge())
        EXPECT_TRUE(processGoneWithin(pid, 5000)) << "gauge left running: " << pid;
    EXPECT_TRUE(read(c.settingsFile()).contains("\r\nLastPanelUsed=Warthog A-10C_2\r\n"))
        << read(c.settingsFile()).toStdString();
}

TEST(WindowsProgram, TheEndOfTheSessionEndsItWhileAMessageIsOpen)
{
    Cockpit c;
    // A panel that is not there: start-up shows its message, before the main window is up, and waits.
    c.start({"Missing"}, {}, false);
    ASSERT_TRUE(waitFor([&] { return showsWindowTitled(c.program.processId(), "Error"); }, 30000))
        << "no message: " << windowTitles(c.program.processId());

    endSession(c.program.processId());
    EXPECT_TRUE(waitForExit(c.program, 10000)) << "the open message kept the program from closing";
    // The close ran: no panel loaded, so none is the last one used.
    EXPECT_TRUE(read(c.settingsFile()).contains("\r\nLastPanelUsed=\r\n")) << read(c.settingsFile()).toStdString();
}

TEST(WindowsProgram, ClosingTheWindowStopsTheRunningPanel)
{
    Cockpit c;
    c.start({"start"});
    ASSERT_TRUE(waitFor([&] { return c.livePanels() == QStringList{"Hornet FA-18C_hornet"}; }, 20000));

    c.program.terminate(); // WM_CLOSE to its windows, as the task bar's "Close window" sends
    EXPECT_TRUE(waitForExit(c.program, 15000));
    EXPECT_EQ(c.program.exitStatus(), QProcess::NormalExit);
    for (qint64 pid : c.everyGauge())
        EXPECT_TRUE(processGoneWithin(pid, 5000)) << "gauge left running: " << pid;
}

// Flight data sent to this PC alone (a network without multicast) reaches every gauge of the running panel
// through the relay, two instances sharing their own port included; the relay ends with the panel.
TEST(WindowsProgram, UnicastFlightDataReachesEveryGaugeThroughTheRelay)
{
    Cockpit c;
    c.panel("Hornet FA-18C_hornet", {{"Airspeed", "P@Airspeed.exe", 47110, 1},
                                     {"Airspeed", "P@Airspeed.exe", 47110, 2},
                                     {"Altimeter", "P@Altimeter.exe", 47111, 1}});
    c.start({"start"});
    ASSERT_TRUE(waitFor([&] { return c.liveGauges().size() == 3; }, 30000));

    const QStringList expected{"13123", "388.8", "388.8"};
    QUdpSocket sim;
    EXPECT_TRUE(waitFor(
        [&] {
            sim.writeDatagram("IAS=388.8;ALT=13123", QHostAddress::LocalHost, c.relayPort);
            return c.shownValues() == expected;
        },
        15000))
        << c.shownValues().join(", ").toStdString();
    EXPECT_TRUE(udpPortBound(c.relayPort));

    c.send("PNL:Stop");
    EXPECT_TRUE(waitFor([&] { return c.liveGauges().empty(); }, 10000));
    EXPECT_TRUE(waitFor([&] { return !udpPortBound(c.relayPort); }, 5000));
}
