#include "Processes.h"

#include <QProcessEnvironment>

#include <windows.h>

#include <map>
#include <mutex>
#include <string>

namespace {

// How long Stop waits for the ended children to be gone before it lets go of them. Ending is asynchronous on
// Windows, but a process only stays when a driver holds it.
constexpr DWORD kExitWaitMs = 5000;

struct Child
{
    HANDLE process = nullptr;
    HANDLE job = nullptr;
};

// A job that ends every process in it when its last handle closes: this program's handle is the only one, so
// the child and all it starts end at Stop, and also when this program ends without a Stop.
HANDLE killOnCloseJob()
{
    HANDLE job = ::CreateJobObjectW(nullptr, nullptr);
    if (!job)
        return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!::SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        ::CloseHandle(job);
        return nullptr;
    }
    return job;
}

// This program's environment with the variables added, as the block CreateProcessW takes: "name=value" strings
// each ended by a NUL, and one more NUL at the end. Names match without regard to case, as Windows has them.
std::wstring environmentBlock(const ChildVariables& variables)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : variables)
        environment.insert(name, value);
    std::wstring block;
    for (const QString& entry : environment.toStringList()) {
        block += entry.toStdWString();
        block += L'\0';
    }
    block += L'\0';
    return block;
}

} // namespace

struct SystemProcesses::Children
{
    std::mutex mutex;
    std::map<long long, Child> byId;
};

SystemProcesses::SystemProcesses() : m_children(std::make_unique<Children>()) {}

SystemProcesses::~SystemProcesses()
{
    // Closing the jobs ends whatever is left; the list above us normally ended them all already.
    std::lock_guard lock(m_children->mutex);
    for (auto& [id, child] : m_children->byId) {
        if (child.job)
            ::CloseHandle(child.job);
        ::CloseHandle(child.process);
    }
}

std::optional<ProcessHandle> SystemProcesses::launch(const QString& commandLine, const ChildVariables& variables)
{
    // The line goes to the system exactly as built: it finds the program in its first token and the child's
    // runtime splits the rest. CreateProcessW may write into the buffer, so it is a copy.
    std::wstring line = commandLine.toStdWString();
    if (line.empty())
        return std::nullopt;

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created{};
    // Suspended until it is in its job, so nothing it starts can slip out before.
    const DWORD flags =
        CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT;
    std::wstring environment;
    if (!variables.empty())
        environment = environmentBlock(variables);
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, flags,
                          environment.empty() ? nullptr : environment.data(), nullptr, &startup, &created))
        return std::nullopt;

    Child child{created.hProcess, killOnCloseJob()};
    // Without a job (one this program runs in may forbid it) the child still runs; Stop then ends it alone.
    if (child.job && !::AssignProcessToJobObject(child.job, created.hProcess)) {
        ::CloseHandle(child.job);
        child.job = nullptr;
    }
    ::ResumeThread(created.hThread);
    ::CloseHandle(created.hThread);

    const auto id = static_cast<long long>(reinterpret_cast<quintptr>(created.hProcess));
    std::lock_guard lock(m_children->mutex);
    m_children->byId[id] = child;
    return ProcessHandle{id};
}

void SystemProcesses::terminate(const ProcessHandle& handle)
{
    terminateAll({handle});
}

void SystemProcesses::terminateAll(const std::vector<ProcessHandle>& handles)
{
    std::vector<Child> ending;
    {
        std::lock_guard lock(m_children->mutex);
        for (const ProcessHandle& h : handles) {
            const auto found = m_children->byId.find(h.id);
            if (found == m_children->byId.end())
                continue;
            ending.push_back(found->second);
            m_children->byId.erase(found);
        }
    }
    // Exit code 0, as a child that ended by itself. One that already ended is passed over.
    for (const Child& child : ending) {
        if (!child.job || !::TerminateJobObject(child.job, 0))
            ::TerminateProcess(child.process, 0);
    }
    for (const Child& child : ending) {
        ::WaitForSingleObject(child.process, kExitWaitMs);
        if (child.job)
            ::CloseHandle(child.job);
        ::CloseHandle(child.process);
    }
}

bool SystemProcesses::hasEnded(const ProcessHandle& handle)
{
    std::lock_guard lock(m_children->mutex);
    const auto found = m_children->byId.find(handle.id);
    if (found == m_children->byId.end())
        return true;
    // A zero wait only looks: the handle stays open for terminate().
    return ::WaitForSingleObject(found->second.process, 0) == WAIT_OBJECT_0;
}
