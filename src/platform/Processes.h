#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

// A started child process. The id stays ours until terminate(): the child is not reaped before, so the
// number can never name an unrelated process.
struct ProcessHandle
{
    long long id = 0;

    bool operator==(const ProcessHandle&) const = default;
};

// Names and values a child finds in its environment besides this program's own (replacing any of the name).
using ChildVariables = std::vector<std::pair<QString, QString>>;

// Starting and ending the panel's child programs.
class Processes
{
public:
    virtual ~Processes() = default;

    // Starts the program named by the first token of a Windows command line with the arguments the rest
    // gives, in this program's environment with `variables` added, and its current directory. No handle when
    // it cannot be started.
    virtual std::optional<ProcessHandle> launch(const QString& commandLine, const ChildVariables& variables) = 0;
    // Ends the process (and what it started in its group) at once and releases it. A process that already
    // ended is passed over.
    virtual void terminate(const ProcessHandle& handle) = 0;
    // Ends every one of them; a platform may signal them all before it waits for any.
    virtual void terminateAll(const std::vector<ProcessHandle>& handles)
    {
        for (const ProcessHandle& h : handles)
            terminate(h);
    }
    // Whether the process has ended by itself, without waiting and without releasing it: the handle stays
    // valid for terminate(). Asked on a timer while a panel runs, so it must cost no more than a system call.
    virtual bool hasEnded(const ProcessHandle& handle) = 0;
};

// Splits a Windows command line into the argv a C program's main receives there: the program token runs to
// its closing quote without escapes; the other arguments follow the C runtime's backslash and quote rules.
QStringList splitWindowsCommandLine(const QString& commandLine);

// The children of this system. POSIX: each in a process group of its own, unreaped until terminate(). Windows:
// each created from its command line as it stands and put in a job of its own that ends with this program, so
// nothing it started can outlive Stop or a crash of ours; the id is the process handle.
class SystemProcesses : public Processes
{
public:
    SystemProcesses();
    ~SystemProcesses() override;
    SystemProcesses(const SystemProcesses&) = delete;
    SystemProcesses& operator=(const SystemProcesses&) = delete;

    std::optional<ProcessHandle> launch(const QString& commandLine, const ChildVariables& variables) override;
    void terminate(const ProcessHandle& handle) override;
    // Every child is ended first, then each waited for: they die side by side, not one by one.
    void terminateAll(const std::vector<ProcessHandle>& handles) override;
    // POSIX looks without reaping (WNOWAIT) and Windows without waiting: the id stays ours until terminate().
    bool hasEnded(const ProcessHandle& handle) override;

private:
    struct Children; // what the system needs kept per child beyond its id
    std::unique_ptr<Children> m_children;
};
