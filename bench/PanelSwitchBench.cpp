// From a control datagram naming another aircraft to the first child of the switched panel running, through
// the real program (offscreen, its own settings folder), beside a bare posix_spawn of the same child.
// Each iteration's time is measured between the two moments, not around the whole loop.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUdpSocket>

#include <benchmark/benchmark.h>

#include <csignal>
#include <ctime>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

// Waits for a stamp file that was not there before; returns its time, or -1 after five seconds.
qint64 nextStamp(const QString& dir, QStringList& seen)
{
    const qint64 deadline = monotonicNs() + 5'000'000'000LL;
    while (monotonicNs() < deadline) {
        const QStringList now = QDir(dir).entryList({"[0-9]*"}, QDir::Files);
        for (const QString& name : now) {
            if (seen.contains(name) || name.endsWith(".tmp"))
                continue;
            seen << name;
            QFile f(QDir(dir).filePath(name));
            if (f.open(QIODevice::ReadOnly))
                return f.readAll().trimmed().toLongLong();
        }
        QThread::usleep(200);
    }
    return -1;
}

// The real program with two panels, "Bench AAA" and "Bench BBB", of one timed child each.
class Program
{
public:
    Program()
    {
        QUdpSocket probe;
        probe.bind(QHostAddress::LocalHost, 0);
        port = probe.localPort();
        probe.close();
        const QString settings = root.filePath("Brondix/HarvolmPRO");
        writeFile(settings + "/varnolt.ini",
                  "[Config]\r\nPanelSwitching=yes\r\nAutoStart=yes\r\nListenPort=" + QByteArray::number(port) + "\r\n");
        // The child lies in the benchmark folder; rows name programs relative to the program folder.
        const QString child = QDir(QFileInfo(VARNOLT_PROGRAM).absolutePath()).relativeFilePath(STAMP_CHILD);
        for (const char* name : {"Bench AAA", "Bench BBB"}) {
            const QString folder = settings + "/Panel_" + name;
            writeFile(folder + '/' + name + ".ini", "[Config]\r\nShowBackground=0\r\n");
            writeFile(folder + '/' + name + ".cfg", "\"Stamp\",\"47120\",\"" +
                                                        QString(child).replace('/', '\\').toLatin1() +
                                                        "\",\"Y\",\"127.0.0.1\",\"45000\",\"1\",\"1\"\r\n");
        }
        stamps = root.filePath("stamps");
        QDir().mkpath(stamps);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("APPDATA", root.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("VARNOLT_BENCH_STAMPS", stamps);
        process.setProcessEnvironment(env);
        process.start(VARNOLT_PROGRAM, {});
        process.waitForStarted();
        // Wait for the listener: the first aircraft starts a panel from idle.
        QUdpSocket sender;
        for (int i = 0; i < 200 && QDir(stamps).entryList(QDir::Files).isEmpty(); ++i) {
            sender.writeDatagram("PNL:AAA", QHostAddress::LocalHost, port);
            QThread::msleep(50);
        }
        seen = QDir(stamps).entryList(QDir::Files);
        current = "AAA";
    }
    ~Program()
    {
        process.terminate();
        if (!process.waitForFinished(10000))
            process.kill();
    }

    QTemporaryDir root;
    QString stamps;
    QStringList seen;
    QProcess process;
    quint16 port = 0;
    QByteArray current;
};

// One program for every benchmark, ended at exit.
Program& theProgram()
{
    static Program program;
    return program;
}

// Sends the other panel's name and times it until that panel's first child stamps; false when none did.
bool timeSwitch(benchmark::State& state, Program& program, QUdpSocket& sender, const char* failure)
{
    program.current = program.current == "AAA" ? "BBB" : "AAA";
    const qint64 sent = monotonicNs();
    sender.writeDatagram("PNL:" + program.current, QHostAddress::LocalHost, program.port);
    const qint64 started = nextStamp(program.stamps, program.seen);
    if (started < 0) {
        state.SkipWithError(failure);
        return false;
    }
    state.SetIterationTime(double(started - sent) / 1e9);
    return true;
}

void DatagramToFirstChildOfSwitchedPanel(benchmark::State& state)
{
    Program& program = theProgram();
    QUdpSocket sender;
    for (auto _ : state) {
        if (!timeSwitch(state, program, sender, "the switched panel's child never started"))
            break;
    }
}

// The same with no panel running (AutoStart): the part of the switch that is not stopping the old panel.
void DatagramToFirstChildFromIdle(benchmark::State& state)
{
    Program& program = theProgram();
    QUdpSocket sender;
    for (auto _ : state) {
        state.PauseTiming();
        sender.writeDatagram("PNL:Stop", QHostAddress::LocalHost, program.port);
        QThread::msleep(100);
        state.ResumeTiming();
        if (!timeSwitch(state, program, sender, "the panel's child never started"))
            break;
    }
}

void BareSpawnOfTheSameChild(benchmark::State& state)
{
    QTemporaryDir dir;
    qputenv("VARNOLT_BENCH_STAMPS", dir.path().toLocal8Bit());
    QStringList seen;
    char* argv[] = {const_cast<char*>(STAMP_CHILD), nullptr};
    for (auto _ : state) {
        const qint64 spawned = monotonicNs();
        pid_t pid = 0;
        if (posix_spawn(&pid, STAMP_CHILD, nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("posix_spawn failed");
            break;
        }
        const qint64 started = nextStamp(dir.path(), seen);
        state.SetIterationTime(double(started - spawned) / 1e9);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

} // namespace

BENCHMARK(DatagramToFirstChildOfSwitchedPanel)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(DatagramToFirstChildFromIdle)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BareSpawnOfTheSameChild)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
