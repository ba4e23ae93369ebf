// Starting and stopping a 64-row panel through the launcher's layer, against a bare posix_spawn loop that
// spawns the same argv and kills and reaps the same way.
#include "instruments/InstrumentRow.h"
#include "platform/Processes.h"
#include "run/RunningProcesses.h"

#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr int rowCount = 64;

LaunchValues values()
{
    const QFileInfo child(QStringLiteral(BENCH_CHILD));
    LaunchValues v;
    v.appPath = child.absolutePath() + u'\\';
    v.panelName = QStringLiteral("Bench");
    v.localAddress = QStringLiteral("127.0.0.1");
    v.flightSimPort = QStringLiteral("45000");
    v.multicastGroup = QStringLiteral("224.11.5.62");
    v.showBackground = false;
    return v;
}

std::vector<InstrumentRow> rows()
{
    std::vector<InstrumentRow> out(rowCount);
    for (int i = 0; i < rowCount; ++i) {
        out[i].field(InstrumentRow::PortNo) = QString::number(47000 + i);
        out[i].field(InstrumentRow::PathName) = QFileInfo(QStringLiteral(BENCH_CHILD)).fileName();
        out[i].field(InstrumentRow::Size) = QStringLiteral("1.5");
        out[i].field(InstrumentRow::InstNo) = QString::number(i + 1);
    }
    return out;
}

void ThroughLauncher(benchmark::State& state)
{
    PosixProcesses processes;
    const LaunchValues v = values();
    const std::vector<InstrumentRow> panel = rows();
    for (auto _ : state) {
        RunningProcesses running(processes, nullptr);
        running.launchAll(PanelLaunchLines(v, panel));
        if (running.count() != rowCount)
            state.SkipWithError("not every child started");
        running.terminateAll();
    }
    state.SetItemsProcessed(state.iterations() * rowCount);
}

void BarePosixSpawn(benchmark::State& state)
{
    // The same argv the launcher's children receive, prepared once.
    const LaunchValues v = values();
    const std::vector<InstrumentRow> panel = rows();
    std::vector<std::vector<QByteArray>> argvs;
    for (const LaunchLine& line : PanelLaunchLines(v, panel)) {
        std::vector<QByteArray> a;
        for (const QString& s : splitWindowsCommandLine(line.commandLine))
            a.push_back(s.toLocal8Bit());
        a.front().replace('\\', '/');
        argvs.push_back(std::move(a));
    }
    std::vector<std::vector<char*>> ptrs;
    for (auto& a : argvs) {
        std::vector<char*> p;
        for (QByteArray& s : a)
            p.push_back(s.data());
        p.push_back(nullptr);
        ptrs.push_back(std::move(p));
    }
    for (auto _ : state) {
        std::vector<pid_t> pids;
        for (auto& p : ptrs) {
            pid_t pid = 0;
            if (posix_spawn(&pid, p[0], nullptr, nullptr, p.data(), environ) == 0)
                pids.push_back(pid);
        }
        for (pid_t pid : pids) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    state.SetItemsProcessed(state.iterations() * rowCount);
}

} // namespace

BENCHMARK(ThroughLauncher)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BarePosixSpawn)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
