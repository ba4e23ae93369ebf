#include "Processes.h"

#include "Paths.h"

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// posix_spawn attributes and file actions that clean up after themselves.
struct SpawnSetup
{
    posix_spawnattr_t attr;
    posix_spawn_file_actions_t actions;
    bool attrReady = false;
    bool actionsReady = false;
    bool ok = false;

    SpawnSetup()
    {
        attrReady = posix_spawnattr_init(&attr) == 0;
        actionsReady = posix_spawn_file_actions_init(&actions) == 0;
        ok = attrReady && actionsReady && configure();
    }
    ~SpawnSetup()
    {
        // Only what was initialised may be destroyed.
        if (actionsReady)
            posix_spawn_file_actions_destroy(&actions);
        if (attrReady)
            posix_spawnattr_destroy(&attr);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    bool configure()
    {
        // Own process group, so Stop can end the child together with whatever it started. The child starts
        // with no blocked signals and default handlers, whatever this program changed for itself.
        sigset_t none, all;
        sigemptyset(&none);
        sigfillset(&all);
        if (posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) !=
            0)
            return false;
        if (posix_spawnattr_setpgroup(&attr, 0) != 0 || posix_spawnattr_setsigmask(&attr, &none) != 0 ||
            posix_spawnattr_setsigdefault(&attr, &all) != 0)
            return false;
        // Nothing of ours but the standard streams reaches the child: no sockets, no files, no pipes.
        return posix_spawn_file_actions_addclosefrom_np(&actions, 3) == 0;
    }
};

// An ignored SIGCHLD (inherited across exec from whoever started us) or SA_NOCLDWAIT makes the kernel reap
// children as they end; a child closed by hand would then free its id for a stranger that Stop would kill.
void keepChildrenUnreaped()
{
    struct sigaction sa
    {};
    if (::sigaction(SIGCHLD, nullptr, &sa) != 0)
        return;
    const bool ignored = !(sa.sa_flags & SA_SIGINFO) && sa.sa_handler == SIG_IGN;
    if (!ignored && !(sa.sa_flags & SA_NOCLDWAIT))
        return;
    if (ignored)
        sa.sa_handler = SIG_DFL;
    sa.sa_flags &= ~SA_NOCLDWAIT;
    ::sigaction(SIGCHLD, &sa, nullptr);
}

} // namespace

// A child's pid is all there is to keep: it stays ours until reaped.
struct SystemProcesses::Children
{};

SystemProcesses::SystemProcesses() = default;
SystemProcesses::~SystemProcesses() = default;

std::optional<ProcessHandle> SystemProcesses::launch(const QString& commandLine, const ChildVariables& variables)
{
    QStringList args = splitWindowsCommandLine(commandLine);
    if (args.isEmpty() || args.front().isEmpty())
        return std::nullopt;
    // Stored program paths use "\"; the child sees the native path as its own name.
    args.front() = nativePath(args.front());

    std::vector<QByteArray> encoded;
    encoded.reserve(args.size());
    for (const QString& a : args)
        encoded.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    argv.reserve(encoded.size() + 1);
    for (QByteArray& a : encoded)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<QByteArray> added;
    for (const auto& [name, value] : variables)
        added.push_back((name + u'=' + value).toLocal8Bit());
    std::vector<char*> envp;
    for (char** e = environ; *e; ++e) {
        const QByteArrayView entry(*e);
        const bool replaced = std::any_of(added.begin(), added.end(), [&](const QByteArray& a) {
            const qsizetype nameEnd = a.indexOf('=') + 1;
            return entry.startsWith(QByteArrayView(a).first(nameEnd));
        });
        if (!replaced)
            envp.push_back(*e);
    }
    for (QByteArray& a : added)
        envp.push_back(a.data());
    envp.push_back(nullptr);

    keepChildrenUnreaped();
    SpawnSetup setup;
    if (!setup.ok)
        return std::nullopt;
    pid_t pid = 0;
    // A bare program name is looked up on PATH, as the Windows loader searches its folders.
    if (posix_spawnp(&pid, argv.front(), &setup.actions, &setup.attr, argv.data(), envp.data()) != 0)
        return std::nullopt;
    return ProcessHandle{pid};
}

namespace {

void killGroup(pid_t pid)
{
    // The child is still unreaped, so neither its id nor its group id can belong to anyone else yet.
    ::kill(-pid, SIGKILL);
    ::kill(pid, SIGKILL); // in case it left its group
}

// Only our own child, never any child (-1): other parts of the program may have children of their own.
void reap(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

void SystemProcesses::terminate(const ProcessHandle& handle)
{
    terminateAll({handle});
}

void SystemProcesses::terminateAll(const std::vector<ProcessHandle>& handles)
{
    for (const ProcessHandle& h : handles) {
        if (h.id > 0)
            killGroup(pid_t(h.id));
    }
    for (const ProcessHandle& h : handles) {
        if (h.id > 0)
            reap(pid_t(h.id));
    }
}

bool SystemProcesses::hasEnded(const ProcessHandle& handle)
{
    if (handle.id <= 0)
        return true;
    siginfo_t info{};
    int result = 0;
    while ((result = ::waitid(P_PID, id_t(handle.id), &info, WEXITED | WNOHANG | WNOWAIT)) < 0 && errno == EINTR) {
    }
    // No child of that id (reaped elsewhere) counts as ended too; si_pid stays 0 while it still runs.
    return result < 0 || info.si_pid != 0;
}
