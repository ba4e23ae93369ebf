// Start, Stop and a switch between two 64-row panels through the launcher's own layer, against bare
// posix_spawn / kill / waitpid loops over the same argv, in alternating rounds.
//   run_bench [rounds]
#include "BenchPanel.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

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
    SystemProcesses processes;
    const std::vector<LaunchLine> lines = benchPanelLines();
    BareArgv bareArgv(lines);
    std::vector<double> startOurs, startBare, stopOurs, stopBare, switchOurs, switchBare;
    for (int i = 0; i < rounds; ++i) {
        {
            RunningProcesses running(processes, nullptr);
            startOurs.push_back(msOf([&] { running.launchAll(lines); }));
            if (running.count() != BenchRows) {
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
    std::printf("%d-row panels, median of %d rounds, interleaved (bare Stop kills and reaps one at a time)\n",
                BenchRows, rounds);
    row("Start: 64th child running", startOurs, startBare);
    row("Stop: every child ended and reaped", stopOurs, stopBare);
    row("switch: Stop 64, then Start 64", switchOurs, switchBare);
    return 0;
}
