// Start and Stop with real child programs on Windows: each is created from its command line as built, its C
// runtime splits the arguments, nothing of ours is inherited, and Stop (or the end of this program) leaves
// nothing running, also of what a child started.
#include "app/Session.h"
#include "instruments/InstrumentRow.h"
#include "net/AdapterChooser.h"
#include "run/RunControl.h"
#include "run/RunningProcesses.h"
#include "support/ScriptedPrompter.h"
#include "support/SystemProbe.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

namespace {

struct ProbeReport
{
    qint64 pid = 0;
    QString cwd;
    QStringList argv;
    QStringList relay; // values of VARNOLT_RELAY_PORT in its environment, whatever the letter case of the name
    qint64 grandchild = 0;
};

class StartStopTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_reports = QDir::toNativeSeparators(tp.root() + QStringLiteral("/reports"));
        QDir().mkpath(m_reports);
        qputenv("VARNOLT_PROBE_DIR", m_reports.toLocal8Bit());
        QDir::setCurrent(tp.env.currentDir);
        for (const char* name : {"PanelBackGround.exe", "Instruments_Standard/P@Probe.exe",
                                 "Instruments_Standard/P@Exits.exe", "Instruments_Standard/P@Forks.exe"})
            install(QString::fromLatin1(name));
        v.appPath = bin();
        v.panelName = QStringLiteral("Cockpit");
        v.localAddress = QStringLiteral("127.0.0.1");
        v.flightSimAddress = QStringLiteral("255.255.255.255");
        v.flightSimPort = QStringLiteral("45000");
        v.multicastGroup = QStringLiteral("224.11.5.62");
        v.decimalSeparator = u',';
    }
    void TearDown() override { qunsetenv("VARNOLT_PROBE_HANDLE"); }

    // The program folder as the program stores it: "\" separators, one at the end.
    QString bin() const { return QDir::toNativeSeparators(tp.root() + QStringLiteral("/bin/")); }

    void install(const QString& relative)
    {
        const QString target = tp.root() + QStringLiteral("/bin/") + relative;
        QDir().mkpath(QFileInfo(target).absolutePath());
        ASSERT_TRUE(QFile::copy(QStringLiteral(PROBE_CHILD), target));
    }

    static InstrumentRow row(const QString& program, const QString& instNo, const QString& size = QStringLiteral("1"),
                             bool on = true)
    {
        InstrumentRow r;
        r.On = on;
        r.field(InstrumentRow::PortNo) = QStringLiteral("47000");
        r.field(InstrumentRow::PathName) = QStringLiteral("Instruments_Standard\\") + program;
        r.field(InstrumentRow::Size) = size;
        r.field(InstrumentRow::InstNo) = instNo;
        return r;
    }

    // The id is the process handle, ours until Stop.
    static qint64 pidOf(const ProcessHandle& h) { return ::GetProcessId(reinterpret_cast<HANDLE>(quintptr(h.id))); }

    // Waits until the child has written its report.
    ProbeReport report(qint64 pid)
    {
        const QString path = m_reports + u'\\' + QString::number(pid) + QStringLiteral(".txt");
        // The child renames its report into place, and the rename holds the file for a moment in which it
        // cannot be opened, so opening is what is waited for.
        QElapsedTimer t;
        t.start();
        QFile f(path);
        while (!f.open(QIODevice::ReadOnly) && t.elapsed() < 10000)
            QThread::msleep(5);
        ProbeReport r;
        if (!f.isOpen()) {
            ADD_FAILURE() << "no report from " << pid;
            return r;
        }
        for (const QString& line : QString::fromLocal8Bit(f.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
            const QString key = line.section(u'=', 0, 0), value = line.section(u'=', 1);
            if (key == QLatin1String("arg"))
                r.argv << value;
            else if (key == QLatin1String("cwd"))
                r.cwd = value;
            else if (key == QLatin1String("pid"))
                r.pid = value.toLongLong();
            else if (key == QLatin1String("grandchild"))
                r.grandchild = value.toLongLong();
            else if (key == QLatin1String("relay"))
                r.relay << value;
        }
        return r;
    }

    TestPlatform tp;
    LaunchValues v;
    QString m_reports;
};

} // namespace

TEST_F(StartStopTest, LaunchesCheckedRowsInOrderWithExactArgvAndStopLeavesNothing)
{
    // A handle that could be inherited, as a careless library might leave one: the children must not get it.
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE leak = ::CreateEventW(&inheritable, TRUE, FALSE, nullptr);
    ASSERT_NE(leak, nullptr);
    qputenv("VARNOLT_PROBE_HANDLE", QByteArray::number(quint64(quintptr(leak))));

    const QString tool = bin() + QStringLiteral("PanelBackGround.exe");
    InstrumentRow app;
    app.field(InstrumentRow::PortNo) = QStringLiteral("App");
    app.field(InstrumentRow::PathName) = tool;
    app.field(InstrumentRow::IPAddress) = QStringLiteral(R"(-w,"a, b",-h 600)");
    const std::vector<InstrumentRow> rows = {
        row(QStringLiteral("P@Probe.exe"), QStringLiteral("1"), QStringLiteral("1.5")),
        row(QStringLiteral("P@Probe.exe"), QStringLiteral("2"), QStringLiteral("1"), false),
        row(QStringLiteral("P@Gone.exe"), QStringLiteral("1")),
        row(QStringLiteral("P@Exits.exe"), QStringLiteral("1")),
        app,
        row(QStringLiteral("P@Probe.exe"), QStringLiteral("3"), QStringLiteral("0,75")),
    };

    std::vector<int> waitsBeforeLaunch;
    std::unique_ptr<RunningProcesses> running;
    running = std::make_unique<RunningProcesses>(*tp.platform().processes, [&](std::chrono::milliseconds d) {
        EXPECT_EQ(d.count(), 1000);
        waitsBeforeLaunch.push_back(running->count());
    });
    // A value left in our own environment gives way to the one the panel passes, also when its name is spelt
    // otherwise: Windows does not tell names apart by letter case.
    qputenv("Varnolt_Relay_Port", "1");
    running->launchAll(PanelLaunchLines(v, rows), {{QStringLiteral("VARNOLT_RELAY_PORT"), QStringLiteral("45001")}});
    qunsetenv("Varnolt_Relay_Port");

    const QString set = bin() + QStringLiteral("Instruments_Standard\\");
    const QList<QStringList> expected = {
        {bin() + QStringLiteral("PanelBackGround.exe"), "0", "Cockpit", "255.255.255.255", "45000", "0", "true", "0",
         "false", "1", "224.11.5.62"},
        {set + QStringLiteral("P@Probe.exe"), "47000", "Cockpit", "127.0.0.1", "45000", "1,5", "true", "0", "false",
         "1", "224.11.5.62"},
        {set + QStringLiteral("P@Exits.exe"), "47000", "Cockpit", "127.0.0.1", "45000", "1", "true", "0", "false", "1",
         "224.11.5.62"},
        {tool, "-w", "a, b", "-h 600"},
        {set + QStringLiteral("P@Probe.exe"), "47000", "Cockpit", "127.0.0.1", "45000", "0,75", "true", "0", "false",
         "3", "224.11.5.62"},
    };
    ASSERT_EQ(running->count(), expected.size()); // the missing program has no entry
    EXPECT_EQ(waitsBeforeLaunch, std::vector<int>{3});

    const std::vector<ProcessHandle> handles = running->handles();
    std::vector<qint64> pids;
    for (int i = 0; i < expected.size(); ++i) {
        pids.push_back(pidOf(handles[i]));
        const ProbeReport r = report(pids.back());
        EXPECT_EQ(r.argv, expected[i]) << i;
        EXPECT_EQ(r.cwd, QDir::toNativeSeparators(tp.env.currentDir)) << i;
        EXPECT_EQ(r.relay, QStringList{"45001"}) << i;
    }
    EXPECT_EQ(QDir(m_reports).entryList({QStringLiteral("*.txt")}).size(), expected.size());
    EXPECT_EQ(::WaitForSingleObject(leak, 0), WAIT_TIMEOUT) << "a child could use a handle of ours";
    ::CloseHandle(leak);

    // The child that ended by itself is passed over like the others.
    running->terminateAll();
    EXPECT_TRUE(running->isEmpty());
    for (qint64 pid : pids)
        EXPECT_TRUE(processGoneWithin(pid, 0)) << "process left: " << pid;
    running->terminateAll(); // a second Stop finds nothing to do
}

TEST_F(StartStopTest, StopEndsWhatAChildStartedAndNoBackgroundWhenOff)
{
    v.showBackground = false;
    RunningProcesses running(*tp.platform().processes, nullptr);
    running.launchAll(PanelLaunchLines(v, {row(QStringLiteral("P@Forks.exe"), QStringLiteral("1"))}));
    ASSERT_EQ(running.count(), 1);
    const qint64 child = pidOf(running.handles().front());
    const ProbeReport r = report(child);
    EXPECT_TRUE(r.argv.front().endsWith(QLatin1String("P@Forks.exe")));
    ASSERT_GT(r.grandchild, 0);
    EXPECT_TRUE(processRunning(r.grandchild));

    running.terminateAll();
    EXPECT_TRUE(processGoneWithin(child, 0));
    EXPECT_TRUE(processGoneWithin(r.grandchild, 5000)) << "grandchild survived Stop";
}

TEST_F(StartStopTest, NothingOutlivesTheProgramThatStartedIt)
{
    // What this program started ends with it, even when it ends without a Stop (a crash, the task manager):
    // the children's jobs close with the last handle to them.
    v.showBackground = false;
    auto processes = std::make_unique<SystemProcesses>();
    const std::optional<ProcessHandle> h = processes->launch(
        PanelLaunchLines(v, {row(QStringLiteral("P@Forks.exe"), QStringLiteral("1"))})[0].commandLine, {});
    ASSERT_TRUE(h);
    const qint64 child = pidOf(*h);
    const ProbeReport r = report(child);
    ASSERT_GT(r.grandchild, 0);

    processes.reset();
    EXPECT_TRUE(processGoneWithin(child, 5000));
    EXPECT_TRUE(processGoneWithin(r.grandchild, 5000));
}

TEST_F(StartStopTest, StartSavesTheListLaunchesTheCheckedRowsAndStopUndoesEverything)
{
    ScriptedPrompter prompter;
    Session s(tp.platform(), prompter);
    s.folders = ResolveFolders(tp.env, tp.files);
    s.loaded().record().Name = QStringLiteral("Cockpit");
    s.loaded().setDocumentName(QStringLiteral("Cockpit"));
    s.folders.AppPath = bin();
    s.loaded().instruments().setRows({
        row(QStringLiteral("P@Probe.exe"), QStringLiteral("1")),
        row(QStringLiteral("P@Gone.exe"), QStringLiteral("1")),
        row(QStringLiteral("P@Probe.exe"), QStringLiteral("3"), QStringLiteral("0,75")),
    });

    RunControl run(s.platform(), s.prompter(), s.folders, s.settings, s.LocalIPAddressToUse, s.StartupLayout,
                   s.loaded());
    run.CreateProcessList();
    run.aStartPanelExecute();
    EXPECT_TRUE(prompter.messages.empty());
    ASSERT_TRUE(run.isRunning());

    // The background, then the checked rows in list order; the missing program is skipped.
    ASSERT_EQ(run.processList()->count(), 3);
    std::vector<qint64> pids;
    for (const ProcessHandle& h : run.processList()->handles())
        pids.push_back(pidOf(h));
    const QString size = QStringLiteral("0") + tp.locale.decimalSeparator() + QStringLiteral("75");
    EXPECT_EQ(report(pids[0]).argv.value(0), bin() + QStringLiteral("PanelBackGround.exe"));
    EXPECT_EQ(report(pids[2]).argv,
              (QStringList{bin() + "Instruments_Standard\\P@Probe.exe", "47000", "Cockpit", "192.168.1.20", "45000",
                           size, "true", "0", "false", "3", "224.11.5.62"}));

    // One gauge closed by hand.
    HANDLE gauge = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, DWORD(pids[1]));
    ASSERT_NE(gauge, nullptr);
    ::TerminateProcess(gauge, 1);
    ::WaitForSingleObject(gauge, 5000);
    ::CloseHandle(gauge);
    run.aStopPanelExecute();

    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_FALSE(run.isRunning());
    for (qint64 pid : pids)
        EXPECT_TRUE(processGoneWithin(pid, 0)) << "process left: " << pid;
}
