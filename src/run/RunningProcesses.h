#pragma once

#include "CommandLines.h"
#include "platform/Processes.h"

#include <chrono>
#include <functional>
#include <vector>

// The processes started for the running panel, in launch order. Programs that could not be started have no
// entry. One that ends by itself keeps its entry until terminateAll(); aliveCount() tells how many still run.
class RunningProcesses
{
public:
    using Wait = std::function<void(std::chrono::milliseconds)>;

    // Applications are given a second each before they start, so the wait is passed in for tests.
    explicit RunningProcesses(Processes& processes, Wait wait = blockingWait);
    // Whatever is still recorded is ended: a child must never outlive the list unreaped.
    ~RunningProcesses();
    RunningProcesses(const RunningProcesses&) = delete;
    RunningProcesses& operator=(const RunningProcesses&) = delete;

    static void blockingWait(std::chrono::milliseconds duration);
    static constexpr std::chrono::milliseconds applicationDelay{1000};

    // Starts one command line and records it; a program that cannot be started is skipped silently.
    bool LaunchProgram(const QString& commandLine, const ChildVariables& variables = {});
    // Starts every line in order, waiting applicationDelay before each application.
    void launchAll(const std::vector<LaunchLine>& lines, const ChildVariables& variables = {});
    // Ends every recorded process (all signalled first, then reaped) and empties the list.
    void terminateAll();

    bool isEmpty() const { return m_handles.empty(); }
    int count() const { return int(m_handles.size()); }
    // Those that have not ended by themselves; asks the system about each, without waiting.
    int aliveCount() const;
    const std::vector<ProcessHandle>& handles() const { return m_handles; }

private:
    Processes& m_processes;
    Wait m_wait;
    std::vector<ProcessHandle> m_handles;
};
