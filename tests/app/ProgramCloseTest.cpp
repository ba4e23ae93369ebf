// The real program, run the way a user's session runs it, ended by a termination signal in the situations of
// kCases where an end is hardest to reach: a modal box up, a folder being created, children running.
#include "support/TestPlatform.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Ready
{
    SettingsRead,    // start-up has read the settings file: its error box comes next
    ListenerRunning, // start-up is through
    ChildrenRunning, // the panel named on the command line runs
};

struct Case
{
    const char* name;
    int signal;
    const char* settings; // nullptr: no settings file, not even its folders
    QStringList arguments;
    Ready ready;
    const char* expectedStderr; // a text the program writes, or nullptr
    const char* settingsAfter;  // nullptr: unchanged
    bool readOnlySettings = false;
};

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The stored files; not the log, which the close itself adds to.
std::map<QString, QByteArray> snapshot(const QString& folder)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(QLatin1String("/varnolt.log")))
            continue;
        files[path] = readAll(path);
    }
    return files;
}

// Fields after the command name in /proc/<pid>/stat: state, then the parent's id.
bool procStat(pid_t pid, char& state, pid_t& parent)
{
    const QByteArray stat = readAll(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return false;
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    if (fields.size() < 2)
        return false;
    state = fields[0].isEmpty() ? '?' : fields[0][0];
    parent = pid_t(fields[1].toInt());
    return true;
}

std::vector<pid_t> childrenOf(pid_t parent)
{
    std::vector<pid_t> children;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const pid_t pid = pid_t(entry.toInt(&number));
        char state = 0;
        pid_t ppid = 0;
        if (number && procStat(pid, state, ppid) && ppid == parent)
            children.push_back(pid);
    }
    return children;
}

// Gone, or a zombie left for init to collect: either way no longer running.
bool ended(pid_t pid)
{
    char state = 0;
    pid_t parent = 0;
    if (::kill(pid, 0) != 0 && errno == ESRCH)
        return true;
    return procStat(pid, state, parent) && (state == 'Z' || state == 'X');
}

bool listenerThreadRunning(qint64 pid)
{
    for (const QString& task :
         QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (readAll(QStringLiteral("/proc/%1/task/%2/comm").arg(pid).arg(task)).startsWith("Control listen"))
            return true;
    return false;
}

struct ProgramRun
{
    const Case& c;
    QTemporaryDir dir;
    QString appData;
    QProcess process;
    int inotify = -1;
    bool signalled = false;
    std::map<QString, QByteArray> before;
    std::vector<pid_t> children;

    explicit ProgramRun(const Case& c) : c(c) {}
    ~ProgramRun()
    {
        if (inotify >= 0)
            ::close(inotify);
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(2000);
        }
        for (pid_t child : children)
            ::kill(child, SIGKILL);
    }

    QString settingsFolder() const { return appData + "/Brondix/HarvolmPRO"; }
    QString settingsFile() const { return settingsFolder() + "/varnolt.ini"; }
    QString pidFile() const { return dir.path() + "/child.pid"; }
    // Beside the settings folder, what a panel name leading out of it reaches: the name
    // "Cockpit/../../../../outside/p/q" names the files outside/p/q.cfg and .ini, whose program would leave a
    // mark if it ran.
    QString outside() const { return dir.path() + "/outside"; }
    QString escapeMark() const { return dir.path() + "/escaped"; }

    void start()
    {
        // A fresh account has no settings file and not even the base folder it would lie in.
        appData = c.settings ? dir.path() + "/appdata" : dir.path() + "/new account/.config";
        if (c.settings) {
            TestPlatform::writeBytes(settingsFile(), c.settings);
            const QString panel = settingsFolder() + "/Panel_Cockpit/";
            TestPlatform::writeBytes(panel + "Cockpit.ini", "[Config]\r\nPanelName=Cockpit\r\nShowBackground=0\r\n");
            // A 3rd party program that notes its id and stays, and a second one beside it.
            TestPlatform::writeBytes(dir.path() + "/child.sh",
                                     "echo $$ > '" + pidFile().toUtf8() + "'\nexec sleep 300\n");
            TestPlatform::writeBytes(panel + "Cockpit.cfg",
                                     "\"A waiting child\",\"App\",\"/bin/sh\",\"Y\",\"" +
                                         (dir.path() + "/child.sh").toUtf8() +
                                         "\",\"\",\"\",\"\"\r\n"
                                         "\"B sleeper\",\"App\",\"/bin/sleep\",\"Y\",\"300\",\"\",\"\",\"\"\r\n");
            QDir().mkpath(outside() + "/p/q/Cockpit");
            TestPlatform::writeBytes(outside() + "/p/q.cfg", "\"Bait\",\"App\",\"/bin/touch\",\"Y\",\"" +
                                                                 escapeMark().toUtf8() + "\",\"\",\"\",\"\"\r\n");
            TestPlatform::writeBytes(outside() + "/p/q.ini", "[Config]\r\nShowBackground=0\r\n");
            inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
            ::inotify_add_watch(inotify, QFile::encodeName(settingsFile()).constData(), IN_OPEN);
        }
        QDir(dir.path()).mkpath("cwd");
        QDir(dir.path()).mkpath("runtime");
        ::chmod(QFile::encodeName(dir.path() + "/runtime").constData(), 0700);

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("APPDATA", appData);
        env.insert("HOME", dir.path());
        env.insert("XDG_CONFIG_HOME", dir.path() + "/xdg");
        env.insert("XDG_RUNTIME_DIR", dir.path() + "/runtime");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        // No desktop session of the machine is touched: the power requests find no bus.
        env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + dir.path() + "/no-bus");
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path() + "/cwd");
        process.start(QStringLiteral(VARNOLT_PROGRAM), c.arguments);
    }

    bool ready()
    {
        switch (c.ready) {
        case Ready::SettingsRead: {
            inotify_event events[8];
            return ::read(inotify, events, sizeof events) > 0;
        }
        case Ready::ListenerRunning:
            return listenerThreadRunning(process.processId());
        case Ready::ChildrenRunning:
            return QFile::exists(pidFile()) && childrenOf(pid_t(process.processId())).size() == 2;
        }
        return false;
    }

    void sendSignal()
    {
        before = snapshot(appData);
        children = childrenOf(pid_t(process.processId()));
        if (c.readOnlySettings)
            ::chmod(QFile::encodeName(settingsFile()).constData(), 0444);
        // Twice: a second signal arriving while the program closes must change nothing.
        ::kill(pid_t(process.processId()), c.signal);
        ::kill(pid_t(process.processId()), c.signal);
        signalled = true;
    }
};

const Case kCases[] = {
    {"error box at start-up: a missing last panel",
     SIGTERM,
     "[Config]\r\nLastPanelUsed=Missing\r\n",
     {},
     Ready::SettingsRead,
     "Panel Missing configuration is missing! - Create Panel again",
     // start-up found no panel, so the close stores none, as after Exit
     "[Config]\r\nLastPanelUsed=\r\n"},
    {"error box at start-up: a command-line name leading out of the settings folder",
     SIGTERM,
     "[Config]\r\nLastPanelUsed=Cockpit\r\nListenPort=0\r\n",
     {"Cockpit/../../../../outside/p/q"},
     Ready::SettingsRead,
     "Panel Cockpit/../../../../outside/p/q configuration is missing! - Create Panel again",
     "[Config]\r\nLastPanelUsed=\r\nListenPort=0\r\n"},
    {"error box at start-up: a listen port that is no number",
     SIGINT,
     "[Config]\r\nLastPanelUsed=Cockpit\r\nListenPort=48k\r\n",
     {},
     Ready::SettingsRead,
     "'48k' is not a valid integer value",
     nullptr},
    {"a fresh account without a settings folder",
     SIGHUP,
     nullptr,
     {},
     Ready::ListenerRunning,
     nullptr,
     "[Config]\r\nLastPanelUsed=\r\n"},
    {"a running panel and a read-only settings file",
     SIGTERM,
     "[Config]\r\nLastPanelUsed=Other\r\nAdapterIPAddress=127.0.0.1\r\nListenPort=0\r\n",
     {"Cockpit"},
     Ready::ChildrenRunning,
     "Unable to write to",
     nullptr,
     true},
};

} // namespace

TEST(ProgramClose, ATerminationSignalAlwaysEndsTheProgram)
{
    std::vector<std::unique_ptr<ProgramRun>> runs;
    for (const Case& c : kCases) {
        runs.push_back(std::make_unique<ProgramRun>(c));
        runs.back()->start();
    }
    // A watchdog: a program that stays open fails the test instead of hanging it.
    QElapsedTimer timer;
    timer.start();
    for (bool waiting = true; waiting && timer.elapsed() < 40000;) {
        waiting = false;
        for (auto& r : runs) {
            if (!r->signalled && r->process.state() == QProcess::Running && r->ready())
                r->sendSignal();
            r->process.waitForFinished(1);
            waiting = waiting || r->process.state() != QProcess::NotRunning;
        }
        QThread::msleep(20);
    }

    for (auto& r : runs) {
        SCOPED_TRACE(r->c.name);
        const QString errors = QString::fromLocal8Bit(r->process.readAllStandardError());
        if (!r->signalled) {
            ADD_FAILURE() << "never reached the situation; the program wrote: " << errors.toStdString();
            continue;
        }
        if (r->process.state() != QProcess::NotRunning) {
            ADD_FAILURE() << "still open after the signal";
            continue;
        }
        EXPECT_EQ(r->process.exitStatus(), QProcess::NormalExit) << "ended by the signal, not by closing";
        EXPECT_EQ(r->process.exitCode(), 0);
        for (pid_t child : r->children)
            EXPECT_TRUE(ended(child)) << "child " << child << " outlived the program";
        if (r->c.ready == Ready::ChildrenRunning) {
            EXPECT_EQ(r->children.size(), 2u);
        }
        if (r->c.expectedStderr) {
            EXPECT_TRUE(errors.contains(QString::fromUtf8(r->c.expectedStderr))) << errors.toStdString();
        }

        // What was stored before stays as it was, apart from what the close sequence itself stores.
        std::map<QString, QByteArray> after = snapshot(r->appData);
        for (const auto& [path, bytes] : r->before) {
            if (path == r->settingsFile() && r->c.settingsAfter)
                continue;
            EXPECT_EQ(after[path], bytes) << path.toStdString();
        }
        if (r->c.settingsAfter) {
            EXPECT_EQ(readAll(r->settingsFile()), QByteArray(r->c.settingsAfter));
        }
        EXPECT_FALSE(QFile::exists(r->escapeMark())) << "a program outside the settings folder ran";
    }
}
