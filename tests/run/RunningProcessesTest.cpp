#include "run/RunningProcesses.h"
#include "app/Session.h"
#include "instruments/InstrumentRow.h"
#include "net/AdapterChooser.h"
#include "run/RunControl.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QThread>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// What one probe child reported about its start.
struct ProbeReport
{
    QString cwd;
    QStringList argv;
    QList<int> fds;
    QStringList relay; // values of VARNOLT_RELAY_PORT in its environment
    long long pgid = 0;
    long long grandchild = 0;
};

class StartStopTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_reports = tp.root() + QStringLiteral("/reports");
        QDir().mkpath(m_reports);
        qputenv("VARNOLT_PROBE_DIR", m_reports.toLocal8Bit());
        QDir::setCurrent(tp.env.currentDir);
        for (const char* name : {"PanelBackGround.exe", "Instruments_Standard/P@Probe.exe",
                                 "Instruments_Standard/P@Exits.exe", "Instruments_Standard/P@Forks.exe"})
            install(QString::fromLatin1(name));
        v.appPath = tp.root() + QStringLiteral("/bin\\");
        v.panelName = QStringLiteral("Cockpit");
        v.localAddress = QStringLiteral("127.0.0.1");
        v.flightSimAddress = QStringLiteral("255.255.255.255");
        v.flightSimPort = QStringLiteral("45000");
        v.multicastGroup = QStringLiteral("224.11.5.62");
        v.decimalSeparator = u',';
    }

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

    // Waits until the child with this id has written its report.
    ProbeReport report(const ProcessHandle& h)
    {
        const QString path = m_reports + u'/' + QString::number(h.id) + QStringLiteral(".txt");
        QElapsedTimer t;
        t.start();
        while (!QFile::exists(path) && t.elapsed() < 5000)
            QThread::msleep(5);
        QFile f(path);
        ProbeReport r;
        if (!f.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "no report from " << h.id;
            return r;
        }
        for (const QString& line : QString::fromLocal8Bit(f.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
            const QString key = line.section(u'=', 0, 0), value = line.section(u'=', 1);
            if (key == QLatin1String("arg"))
                r.argv << value;
            else if (key == QLatin1String("cwd"))
                r.cwd = value;
            else if (key == QLatin1String("relay"))
                r.relay << value;
            else if (key == QLatin1String("pgid"))
                r.pgid = value.toLongLong();
            else if (key == QLatin1String("grandchild"))
                r.grandchild = value.toLongLong();
            else if (key == QLatin1String("fds"))
                for (const QString& fd : value.split(u',', Qt::SkipEmptyParts))
                    r.fds << fd.toInt();
        }
        return r;
    }

    static bool gone(long long pid) { return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH; }

    // A grandchild is reaped by whoever adopts it, if at all; dead is enough.
    static bool deadWithin(long long pid, int ms)
    {
        const auto dead = [pid] {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
            if (!stat.open(QIODevice::ReadOnly))
                return gone(pid);
            return stat.readAll().split(' ').value(2) == "Z";
        };
        QElapsedTimer t;
        t.start();
        while (!dead() && t.elapsed() < ms)
            QThread::msleep(5);
        return dead();
    }

    TestPlatform tp;
    LaunchValues v;
    QString m_reports;
};

} // namespace

TEST_F(StartStopTest, LaunchesCheckedRowsInOrderWithExactArgvAndStopLeavesNothing)
{
    // A descriptor without close-on-exec, as a careless library might leave one: the children must not get it.
    const int leak = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(leak, 3);

    const QString tool = tp.root() + QStringLiteral("/bin/PanelBackGround.exe");
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
    // A value left in our own environment gives way to the one the panel passes.
    qputenv("VARNOLT_RELAY_PORT", "1");
    running->launchAll(PanelLaunchLines(v, rows), {{QStringLiteral("VARNOLT_RELAY_PORT"), QStringLiteral("45001")}});
    qunsetenv("VARNOLT_RELAY_PORT");
    ::close(leak);

    const QString bin = tp.root() + QStringLiteral("/bin/");
    const QString set = bin + QStringLiteral("Instruments_Standard/");
    const QList<QStringList> expected = {
        {bin + QStringLiteral("PanelBackGround.exe"), "0", "Cockpit", "255.255.255.255", "45000", "0", "true", "0",
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
    for (int i = 0; i < expected.size(); ++i) {
        const ProbeReport r = report(handles[i]);
        EXPECT_EQ(r.argv, expected[i]) << i;
        EXPECT_EQ(r.cwd, QDir(tp.env.currentDir).canonicalPath());
        EXPECT_EQ(r.pgid, handles[i].id) << "own process group";
        EXPECT_EQ(r.relay, QStringList{"45001"}) << i;
        for (int fd : r.fds)
            EXPECT_LT(fd, 3) << "inherited descriptor in child " << i;
    }
    EXPECT_EQ(QDir(m_reports).entryList({QStringLiteral("*.txt")}).size(), expected.size());

    // The child that ended by itself is a zombie now; Stop passes over it like the others.
    running->terminateAll();
    EXPECT_TRUE(running->isEmpty());
    for (const ProcessHandle& h : handles) {
        EXPECT_TRUE(gone(h.id)) << "process or zombie left: " << h.id;
        EXPECT_EQ(::waitpid(pid_t(h.id), nullptr, WNOHANG), -1);
    }
    running->terminateAll(); // a second Stop finds nothing to do
}

TEST_F(StartStopTest, StopEndsWhatAChildStartedInItsGroupAndNoBackgroundWhenOff)
{
    v.showBackground = false;
    RunningProcesses running(*tp.platform().processes, nullptr);
    running.launchAll(PanelLaunchLines(v, {row(QStringLiteral("P@Forks.exe"), QStringLiteral("1"))}));
    ASSERT_EQ(running.count(), 1);
    const ProcessHandle child = running.handles().front();
    const ProbeReport r = report(child);
    EXPECT_TRUE(r.argv.front().endsWith(QLatin1String("P@Forks.exe")));
    ASSERT_GT(r.grandchild, 0);
    EXPECT_FALSE(gone(r.grandchild));

    running.terminateAll();
    EXPECT_TRUE(gone(child.id));
    EXPECT_TRUE(deadWithin(r.grandchild, 5000)) << "grandchild survived Stop";
}

TEST_F(StartStopTest, StartSavesTheListLaunchesTheCheckedRowsAndStopUndoesEverything)
{
    ScriptedPrompter prompter;
    Session s(tp.platform(), prompter);
    s.folders = ResolveFolders(tp.env, tp.files);
    s.loaded().record().Name = QStringLiteral("Cockpit");
    s.loaded().setDocumentName(QStringLiteral("Cockpit"));
    s.settings.DeclutterDesktop = true;
    s.loaded().instruments().setRows({
        row(QStringLiteral("P@Probe.exe"), QStringLiteral("1")),
        row(QStringLiteral("P@Probe.exe"), QStringLiteral("2"), QStringLiteral("1"), false),
        row(QStringLiteral("P@Gone.exe"), QStringLiteral("1")),
        row(QStringLiteral("P@Probe.exe"), QStringLiteral("3"), QStringLiteral("0,75")),
    });
    tp.addresses.addresses = {QStringLiteral("10.0.0.5"), QStringLiteral("192.168.1.20")};
    prompter.answerDialog([](DialogModel& m) {
        dynamic_cast<AdapterChooserModel&>(m).selected = 1;
        return true;
    });

    RunControl run(s.platform(), s.prompter(), s.folders, s.settings, s.LocalIPAddressToUse, s.StartupLayout,
                   s.loaded());
    QStringList events;
    QObject::connect(&run, &RunControl::busyChanged, [&](bool busy) { events << (busy ? "busy" : "normal"); });
    QObject::connect(&run, &RunControl::minimizeRequested, [&] { events << "minimise"; });
    run.CreateProcessList();
    run.aStartPanelExecute();

    EXPECT_TRUE(prompter.scriptUsedUp());
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(events, (QStringList{"busy", "minimise", "normal"}));
    EXPECT_TRUE(run.isRunning());
    EXPECT_EQ(tp.power.calls, (QStringList{"screenSaver query", "screenSaver off", "sleep inhibited", "icons hidden",
                                           "windows minimised"}));
    EXPECT_EQ(s.LocalIPAddressToUse, QStringLiteral("192.168.1.20"));
    EXPECT_TRUE(TestPlatform::readBytes(tp.settingsFile()).contains("AdapterIPAddress=192.168.1.20\r\n"));
    // Saved before anything starts, check marks included.
    const QList<QByteArray> saved = TestPlatform::readBytes(tp.panelFolder("Cockpit") + "/Cockpit.cfg").split('\n');
    ASSERT_EQ(saved.size(), 5);
    EXPECT_TRUE(saved[1].contains(R"(,"N",)")) << saved[1].constData();

    // The background, then the checked rows in list order; the missing program is skipped.
    ASSERT_EQ(run.processList()->count(), 3);
    const std::vector<ProcessHandle> handles = run.processList()->handles();
    const QString set = tp.root() + QStringLiteral("/bin/Instruments_Standard/");
    const QString size = QStringLiteral("0") + tp.locale.decimalSeparator() + QStringLiteral("75");
    EXPECT_EQ(report(handles[0]).argv.value(0), tp.root() + QStringLiteral("/bin/PanelBackGround.exe"));
    EXPECT_EQ(report(handles[1]).argv, (QStringList{set + "P@Probe.exe", "47000", "Cockpit", "192.168.1.20", "45000",
                                                    "1", "true", "0", "false", "1", "224.11.5.62"}));
    EXPECT_EQ(report(handles[2]).argv, (QStringList{set + "P@Probe.exe", "47000", "Cockpit", "192.168.1.20", "45000",
                                                    size, "true", "0", "false", "3", "224.11.5.62"}));

    // One gauge closed by hand; a datagram added the aircraft to the caption.
    ::kill(pid_t(handles[1].id), SIGKILL);
    s.loaded().setDocumentName(QStringLiteral("Cockpit - FA-18C"));
    tp.power.calls.clear();
    run.aStopPanelExecute();

    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(s.loaded().documentName(), QStringLiteral("Cockpit"));
    EXPECT_FALSE(run.isRunning());
    EXPECT_TRUE(run.processList()->isEmpty());
    for (const ProcessHandle& h : handles)
        EXPECT_TRUE(gone(h.id)) << "process or zombie left: " << h.id;
    EXPECT_EQ(tp.power.calls, (QStringList{"screenSaver on", "sleep allowed", "icons shown"}));
}

TEST_F(StartStopTest, AChildThatEndsStaysOursUntilStopEvenWhenSigchldWasIgnored)
{
    // Whoever started the program may have left SIGCHLD ignored; the kernel would then reap our children at once
    // and Stop could kill a stranger that inherited the number.
    struct sigaction ignored
    {
    }, previous{};
    ignored.sa_handler = SIG_IGN;
    sigemptyset(&ignored.sa_mask);
    ASSERT_EQ(::sigaction(SIGCHLD, &ignored, &previous), 0);
    const auto restore = qScopeGuard([&] { ::sigaction(SIGCHLD, &previous, nullptr); });

    v.showBackground = false;
    RunningProcesses running(*tp.platform().processes, nullptr);
    running.launchAll(PanelLaunchLines(v, {row(QStringLiteral("P@Exits.exe"), QStringLiteral("1"))}));
    ASSERT_EQ(running.count(), 1);
    const ProcessHandle child = running.handles().front();
    report(child);
    ASSERT_TRUE(deadWithin(child.id, 5000));
    EXPECT_FALSE(gone(child.id)) << "reaped before Stop";

    running.terminateAll();
    EXPECT_TRUE(gone(child.id));
}

TEST_F(StartStopTest, AChildThatEndsByItselfIsCountedAsEndedAndStillReapedOnlyByStop)
{
    v.showBackground = false;
    RunningProcesses running(*tp.platform().processes, nullptr);
    running.launchAll(PanelLaunchLines(v, {row(QStringLiteral("P@Probe.exe"), QStringLiteral("1")),
                                           row(QStringLiteral("P@Exits.exe"), QStringLiteral("1"))}));
    ASSERT_EQ(running.count(), 2);
    const ProcessHandle exits = running.handles().back();
    report(exits);
    ASSERT_TRUE(deadWithin(exits.id, 5000));
    EXPECT_EQ(running.aliveCount(), 1);
    // Asking twice must not have released it: the id stays ours until Stop.
    EXPECT_EQ(running.aliveCount(), 1);
    EXPECT_FALSE(gone(exits.id)) << "reaped by the look";

    running.terminateAll();
    EXPECT_TRUE(gone(exits.id));
    EXPECT_EQ(running.aliveCount(), 0);
}
