#include "TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_pipe[2] = {-1, -1};

void writeWakeByte(int)
{
    const int savedErrno = errno;
    const char b = 1;
    // Only async-signal-safe work here: the event loop does the rest. A full socket already holds a request.
    [[maybe_unused]] auto n = ::write(g_pipe[0], &b, 1);
    errno = savedErrno;
}

} // namespace

void onTerminationRequest(std::function<void()> handler)
{
    if (g_pipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [handler = std::move(handler)] {
        char b;
        [[maybe_unused]] auto n = ::read(g_pipe[1], &b, 1);
        handler();
    });

    struct sigaction sa
    {};
    sa.sa_handler = writeWakeByte;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    // A closed terminal ends the program the same orderly way, so a running panel is stopped with it.
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &sa, nullptr);
}

void onSessionEnd(std::function<void()>)
{
    // A logout sends SIGTERM, which onTerminationRequest serves, and leaves the program time to close.
}
