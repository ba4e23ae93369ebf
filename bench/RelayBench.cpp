// What the flight data relay adds to a datagram's way: the time from sending a frame until a gauge's socket
// has it, sent straight to that socket and sent to the relay, which hands it on. Loopback only, in
// alternating rounds paced like a simulator's frames, so the relay's thread wakes from idle each time as it
// does in flight. The gauge measured is the last of `gauges` that asked, so it waits for every copy before
// its own.
//   relay_bench [rounds] [gauges] [interval-ms]
#include "net/FlightDataRelay.h"
#include "net/RelayForwarder.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in loopback(quint16 port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

// A gauge's socket: bound to loopback on a port of its own.
struct Socket
{
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    quint16 port = 0;

    Socket()
    {
        sockaddr_in a = loopback(0);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        socklen_t length = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
        port = ntohs(a.sin_port);
        timeval wait{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ~Socket() { ::close(fd); }
    void sendTo(quint16 to, const char* data, size_t size) const
    {
        const sockaddr_in a = loopback(to);
        ::sendto(fd, data, size, 0, reinterpret_cast<const sockaddr*>(&a), sizeof a);
    }
    bool receive(int flags = 0) const
    {
        char buffer[2048];
        return ::recv(fd, buffer, sizeof buffer, flags) >= 0;
    }
    void drain() const
    {
        while (receive(MSG_DONTWAIT)) {
        }
    }
};

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

quint16 freePort()
{
    const int s = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t length = sizeof a;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &length);
    ::close(s);
    return ntohs(a.sin_port);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int gaugeCount = std::max(1, argc > 2 ? std::atoi(argv[2]) : 3);
    const int intervalMs = argc > 3 ? std::atoi(argv[3]) : 2;

    FlightDataRelay relay;
    if (!relay.start(QString::number(freePort()), QStringLiteral("45000"))) {
        std::fprintf(stderr, "relay_bench: %s\n", qPrintable(relay.status().problem));
        return 1;
    }
    const quint16 relayPort = relay.status().port;
    std::vector<Socket> gauges(static_cast<size_t>(gaugeCount));
    for (const Socket& g : gauges) {
        g.sendTo(relayPort, RelaySubscribeText.data(), size_t(RelaySubscribeText.size()));
        while (relay.status().gauges < int(&g - gauges.data()) + 1)
            QThread::msleep(1);
    }
    const Socket& measured = gauges.back();
    Socket simulator;

    static const char frame[] = "IAS=251.3;ALT=12040;VS=-350;RPM=85.2;HDG=274.5";
    std::vector<double> direct, relayed;
    const auto once = [&](quint16 to) {
        const Clock::time_point sent = Clock::now();
        simulator.sendTo(to, frame, sizeof frame - 1);
        if (!measured.receive()) {
            std::fprintf(stderr, "relay_bench: a datagram was lost\n");
            std::exit(1);
        }
        return std::chrono::duration<double, std::milli>(Clock::now() - sent).count();
    };
    Clock::time_point asked = Clock::now();
    for (int i = 0; i < rounds; ++i) {
        // As the gauges do: a request lasts a few seconds.
        if (Clock::now() - asked > std::chrono::seconds(1)) {
            for (const Socket& g : gauges)
                g.sendTo(relayPort, RelaySubscribeText.data(), size_t(RelaySubscribeText.size()));
            asked = Clock::now();
        }
        direct.push_back(once(measured.port));
        QThread::msleep(intervalMs);
        relayed.push_back(once(relayPort));
        for (const Socket& g : gauges)
            g.drain();
        QThread::msleep(intervalMs);
    }

    std::printf("relay_bench: %d frames each way, %d gauges, %d ms apart; send until the last gauge's socket has "
                "it\n",
                rounds, gaugeCount, intervalMs);
    std::printf("  direct  median %.3f ms  p99 %.3f ms\n", percentile(direct, 0.5), percentile(direct, 0.99));
    std::printf("  relay   median %.3f ms  p99 %.3f ms\n", percentile(relayed, 0.5), percentile(relayed, 0.99));
    std::printf("  added   median %.3f ms  p99 %.3f ms\n", percentile(relayed, 0.5) - percentile(direct, 0.5),
                percentile(relayed, 0.99) - percentile(direct, 0.99));
    std::printf("  forwarded %llu\n", static_cast<unsigned long long>(relay.status().forwarded));
    return 0;
}
