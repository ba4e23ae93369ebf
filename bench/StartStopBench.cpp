// Starting and stopping a 64-row panel through the launcher's layer, against a bare posix_spawn loop that
// spawns the same argv and kills and reaps the same way.
#include "BenchPanel.h"

#include <benchmark/benchmark.h>

namespace {

void ThroughLauncher(benchmark::State& state)
{
    SystemProcesses processes;
    const std::vector<LaunchLine> lines = benchPanelLines();
    for (auto _ : state) {
        RunningProcesses running(processes, nullptr);
        running.launchAll(lines);
        if (running.count() != BenchRows)
            state.SkipWithError("not every child started");
        running.terminateAll();
    }
    state.SetItemsProcessed(state.iterations() * BenchRows);
}

void BarePosixSpawn(benchmark::State& state)
{
    BareArgv bare(benchPanelLines());
    for (auto _ : state)
        killAndReapEach(bare.spawnAll());
    state.SetItemsProcessed(state.iterations() * BenchRows);
}

} // namespace

BENCHMARK(ThroughLauncher)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BarePosixSpawn)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
