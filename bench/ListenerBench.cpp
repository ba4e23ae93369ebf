// A burst of no-op control datagrams followed by "PNL:Stop", sent to the program's listener and to a bare C
// receive loop on a socket of the same kind, in alternating rounds: how often the Stop arrives, how many
// datagrams were handled, and how much resident memory the burst cost the listener.
//   listener_bench [rounds] [datagrams]
#include "net/ControlListener.h"
#include "settings/AppSettings.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return 0;
}

void burst(quint16 port, int count)
{
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    static const char noop[] = "PNL:Start"; // Start while the panel runs: a record that asks for nothing
    for (int i = 0; i < count; ++i)
        sendto(s, noop, sizeof noop - 1, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    static const char stop[] = "PNL:Stop";
    sendto(s, stop, sizeof stop - 1, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    close(s);
}

struct Round
{
    bool stopSeen = false;
    int handled = 0;
    long rssGrowthKiB = 0;
};

Round ours(int count)
{
    AppSettings settings;
    settings.ListenPort = QStringLiteral("0");
    ControlListener listener(settings);
    Round r;
    quint64 lastDatagram = 0;
    QObject::connect(&listener, &ControlListener::recordsWaiting, [&] {
        // Takes everything, as fast as it comes: the cost of receiving alone, without handling.
        for (const std::deque<PendingRecord>* pending = &listener.pending(); !pending->empty();
             pending = &listener.pending()) {
            for (const PendingRecord& p : *pending) {
                r.handled += p.datagram != lastDatagram;
                lastDatagram = p.datagram;
                r.stopSeen = r.stopSeen || p.record.kind == ControlRecord::Stop;
            }
            listener.dropPending(qsizetype(pending->size()));
        }
    });
    listener.StartControlListener();
    const long before = residentKiB();
    long peak = before;
    std::atomic<bool> sent = false;
    std::thread sender([&] {
        burst(listener.boundPort(), count);
        sent = true;
    });
    QDeadlineTimer quiet(QDeadlineTimer::Forever);
    while (!r.stopSeen) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        peak = std::max(peak, residentKiB());
        if (sent && quiet.isForever())
            quiet.setRemainingTime(500);
        if (quiet.hasExpired())
            break;
    }
    sender.join();
    r.rssGrowthKiB = peak - before;
    return r;
}

Round bare(int count)
{
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    const int wanted = 4 * 1024 * 1024; // as the listener asks
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, &wanted, sizeof wanted);
    socklen_t length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    timeval wait{0, 500000};
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    Round r;
    std::thread receiver([&] {
        char buffer[8192];
        for (;;) {
            const ssize_t n = recv(s, buffer, sizeof buffer, 0);
            if (n < 0)
                return; // quiet for half a second: the burst is over
            ++r.handled;
            if (n == 8 && std::memcmp(buffer, "PNL:Stop", 8) == 0) {
                r.stopSeen = true;
                return;
            }
        }
    });
    burst(ntohs(address.sin_port), count);
    receiver.join();
    close(s);
    return r;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    const int count = argc > 2 ? std::atoi(argv[2]) : 10000;
    int oursStops = 0, bareStops = 0;
    std::vector<int> oursHandled, bareHandled;
    long worstGrowth = 0;
    for (int i = 0; i < rounds; ++i) {
        const Round o = ours(count);
        const Round b = bare(count);
        oursStops += o.stopSeen;
        bareStops += b.stopSeen;
        oursHandled.push_back(o.handled);
        bareHandled.push_back(b.handled);
        worstGrowth = std::max(worstGrowth, o.rssGrowthKiB);
    }
    std::sort(oursHandled.begin(), oursHandled.end());
    std::sort(bareHandled.begin(), bareHandled.end());
    std::printf("%d no-op datagrams in a burst, then PNL:Stop; %d rounds, interleaved\n", count, rounds);
    std::printf("  listener   Stop obeyed %d/%d  median datagrams handled %6d  worst RSS growth %ld KiB\n", oursStops,
                rounds, oursHandled[oursHandled.size() / 2], worstGrowth);
    std::printf("  bare recv  Stop seen   %d/%d  median datagrams handled %6d\n", bareStops, rounds,
                bareHandled[bareHandled.size() / 2]);
    std::printf("  ratio of datagrams handled %.2f\n",
                double(oursHandled[oursHandled.size() / 2]) / std::max(1, bareHandled[bareHandled.size() / 2]));
    return 0;
}
