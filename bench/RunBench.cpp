// Start, Stop and a switch between two 64-row panels through the launcher's own layer, against bare
// posix_spawn / kill / waitpid loops over the same argv, in alternating rounds.
//   run_bench [rounds]
#include "instruments/InstrumentRow.h"
#include "platform/Processes.h"
#include "run/RunningProcesses.h"

#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kRows = 64;

std::vector<LaunchLine> panelLines()
{
    const QFileInfo child(QStringLiteral(BENCH_CHILD));
    LaunchValues v;
    v.appPath = child.absolutePath() + u'\\';
    v.panelName = QStringLiteral("Bench");
    v.localAddress = QStringLiteral("127.0.0.1");
    v.flightSimPort = QStringLiteral("45000");
    v.multicastGroup = QStringLiteral("224.11.5.62");
    v.showBackground = false;
    std::vector<InstrumentRow> rows(kRows);
    for (int i = 0; i < kRows; ++i) {
        rows[i].field(InstrumentRow::PortNo) = QString::number(47000 + i);
        rows[i].field(InstrumentRow::PathName) = child.fileName();
        rows[i].field(InstrumentRow::Size) = QStringLiteral("1.5");
        rows[i].field(InstrumentRow::InstNo) = QString::number(i + 1);
    }
    return PanelLaunchLines(v, rows);
}

// The same argv the launcher's children receive, prepared once.
struct BareArgv
{
    std::vector<std::vector<QByteArray>> strings;
    std::vector<std::vector<char*>> pointers;

    explicit BareArgv(const std::vector<LaunchLine>& lines)
    {
        for (const LaunchLine& line : lines) {
            std::vector<QByteArray> a;
            for (const QString& s : splitWindowsCommandLine(line.commandLine))
                a.push_back(s.toLocal8Bit());
            a.front().replace('\\', '/');
            strings.push_back(std::move(a));
        }
        for (auto& a : strings) {
            std::vector<char*> p;
            for (QByteArray& s : a)
                p.push_back(s.data());
            p.push_back(nullptr);
            pointers.push_back(std::move(p));
        }
    }
    std::vector<pid_t> spawnAll()
    {
        std::vector<pid_t> pids;
        for (auto& p : pointers) {
            pid_t pid = 0;
            if (posix_spawn(&pid, p[0], nullptr, nullptr, p.data(), environ) == 0)
                pids.push_back(pid);
        }
        return pids;
    }
};

void killAndReapEach(const std::vector<pid_t>& pids)
{
    for (pid_t pid : pids) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

double msOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void row(const char* what, const std::vector<double>& ours, const std::vector<double>& bare)
{
    std::printf("  %-34s ours %7.2f ms   bare %7.2f ms   ratio %.2f\n", what, median(ours), median(bare),
                median(ours) / median(bare));
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
    PosixProcesses processes;
    const std::vector<LaunchLine> lines = panelLines();
    BareArgv bareArgv(lines);
    std::vector<double> startOurs, startBare, stopOurs, stopBare, switchOurs, switchBare;
    for (int i = 0; i < rounds; ++i) {
        {
            RunningProcesses running(processes, nullptr);
            startOurs.push_back(msOf([&] { running.launchAll(lines); }));
            if (running.count() != kRows) {
                std::fprintf(stderr, "not every child started\n");
                return 1;
            }
            switchOurs.push_back(msOf([&] {
                running.terminateAll();
                running.launchAll(lines);
            }));
            stopOurs.push_back(msOf([&] { running.terminateAll(); }));
        }
        std::vector<pid_t> pids;
        startBare.push_back(msOf([&] { pids = bareArgv.spawnAll(); }));
        switchBare.push_back(msOf([&] {
            killAndReapEach(pids);
            pids = bareArgv.spawnAll();
        }));
        stopBare.push_back(msOf([&] { killAndReapEach(pids); }));
    }
    std::printf("%d-row panels, median of %d rounds, interleaved (bare Stop kills and reaps one at a time)\n", kRows,
                rounds);
    row("Start: 64th child running", startOurs, startBare);
    row("Stop: every child ended and reaped", stopOurs, stopBare);
    row("switch: Stop 64, then Start 64", switchOurs, switchBare);
    return 0;
}
