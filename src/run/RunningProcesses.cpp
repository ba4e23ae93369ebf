#include "RunningProcesses.h"

#include <algorithm>
#include <thread>

RunningProcesses::RunningProcesses(Processes& processes, Wait wait) : m_processes(processes), m_wait(std::move(wait)) {}

RunningProcesses::~RunningProcesses()
{
    terminateAll();
}

void RunningProcesses::blockingWait(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}

bool RunningProcesses::LaunchProgram(const QString& commandLine, const ChildVariables& variables)
{
    const std::optional<ProcessHandle> handle = m_processes.launch(commandLine, variables);
    if (!handle)
        return false;
    m_handles.push_back(*handle);
    return true;
}

void RunningProcesses::launchAll(const std::vector<LaunchLine>& lines, const ChildVariables& variables)
{
    for (const LaunchLine& line : lines) {
        if (line.isApplication && m_wait)
            m_wait(applicationDelay);
        LaunchProgram(line.commandLine, variables);
    }
}

int RunningProcesses::aliveCount() const
{
    return int(std::count_if(m_handles.begin(), m_handles.end(),
                             [this](const ProcessHandle& h) { return !m_processes.hasEnded(h); }));
}

void RunningProcesses::terminateAll()
{
    // Taken out first so a failure half-way cannot leave handles that were already released.
    const std::vector<ProcessHandle> handles = std::exchange(m_handles, {});
    m_processes.terminateAll(handles);
}
