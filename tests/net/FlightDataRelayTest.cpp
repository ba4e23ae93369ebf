#include "net/FlightDataRelay.h"
#include "net/RelayForwarder.h"
#include "support/Wait.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

quint16 freePort()
{
    QUdpSocket s;
    s.bind(QHostAddress::AnyIPv4, 0);
    return s.localPort();
}

// What a gauge does: asks the relay for the data from a loopback socket of its own.
struct Gauge
{
    QUdpSocket socket;

    Gauge() { EXPECT_TRUE(socket.bind(QHostAddress::LocalHost, 0)); }
    void ask(quint16 relayPort)
    {
        socket.writeDatagram(RelaySubscribeText.toByteArray(), QHostAddress::LocalHost, relayPort);
    }
    // Waits for `last` and returns everything received up to it.
    QList<QByteArray> receivedUntil(const QByteArray& last)
    {
        QList<QByteArray> out;
        waitFor([&] {
            while (socket.hasPendingDatagrams())
                out << socket.receiveDatagram().data();
            return !out.isEmpty() && out.last() == last;
        });
        return out;
    }
};

struct Relay : ::testing::Test
{
    FlightDataRelay relay;
    QUdpSocket simulator; // the export script's socket, unicast to the relay
    quint16 port = 0;

    void start()
    {
        ASSERT_TRUE(relay.start(QString::number(freePort()), QStringLiteral("45000")))
            << relay.status().problem.toStdString();
        port = relay.status().port;
    }
    void send(const QByteArray& datagram) { simulator.writeDatagram(datagram, QHostAddress::LocalHost, port); }
    bool feeds(int gauges)
    {
        return waitFor([&] { return relay.status().gauges == gauges; });
    }
};

} // namespace

TEST_F(Relay, EveryGaugeThatAskedGetsEveryDatagramAndNothingCircles)
{
    start();
    std::array<Gauge, 3> gauges;
    for (Gauge& g : gauges)
        g.ask(port);
    ASSERT_TRUE(feeds(3));
    Gauge bystander; // never asked

    send("IAS=120;ALT=3500");
    send("ALT=3600");
    // What a gauge sends the relay besides its request is never sent on: to the others or back to itself.
    gauges[0].socket.writeDatagram("IAS=999", QHostAddress::LocalHost, port);
    gauges[1].ask(port); // asking again neither counts twice nor reaches the others
    send("end");
    for (Gauge& g : gauges)
        EXPECT_EQ(g.receivedUntil("end"), (QList<QByteArray>{"IAS=120;ALT=3500", "ALT=3600", "end"}));
    EXPECT_FALSE(bystander.socket.hasPendingDatagrams());
    const FlightDataRelayStatus s = relay.status();
    EXPECT_TRUE(s.running);
    EXPECT_EQ(s.gauges, 3);
    EXPECT_EQ(s.forwarded, 3u);
    EXPECT_TRUE(s.problem.isEmpty());
}

TEST_F(Relay, HoldsItsPortAloneAndGivesItBackWhenStopped)
{
    start();
    Gauge gauge;
    gauge.ask(port);
    ASSERT_TRUE(feeds(1));
    // A socket that shares its port the way the gauges share the simulator port is kept out all the same.
    QUdpSocket sharer;
    EXPECT_FALSE(sharer.bind(QHostAddress::AnyIPv4, port, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint));

    int changes = 0;
    QObject::connect(&relay, &FlightDataRelay::statusChanged, [&] { ++changes; });
    relay.stop();
    EXPECT_EQ(changes, 1);
    const FlightDataRelayStatus s = relay.status();
    EXPECT_FALSE(s.running);
    EXPECT_EQ(s.port, 0);
    EXPECT_EQ(s.gauges, 0);
    EXPECT_TRUE(s.problem.isEmpty());
    EXPECT_TRUE(sharer.bind(QHostAddress::AnyIPv4, port));
    sharer.close();

    // Started again, it feeds only gauges that ask again.
    ASSERT_TRUE(relay.start(QString::number(port), QStringLiteral("45000")));
    send("IAS=1");
    gauge.ask(port);
    ASSERT_TRUE(feeds(1));
    send("IAS=2");
    EXPECT_EQ(gauge.receivedUntil("IAS=2"), QList<QByteArray>{"IAS=2"});
}

TEST_F(Relay, StartSaysWhyItCannotRun)
{
    QUdpSocket taken;
    ASSERT_TRUE(taken.bind(QHostAddress::AnyIPv4, 0));
    const QString takenPort = QString::number(taken.localPort());
    const struct
    {
        QString setting;
        QString simPort;
        QString problem;
    } cases[] = {
        {"0", "45000", "turned off (RelayPort=0)"},
        {"relay", "45000", "RelayPort 'relay' is not a port number from 1 to 65535 (0 turns the relay off)"},
        {"65536", "45000", "RelayPort '65536' is not a port number from 1 to 65535 (0 turns the relay off)"},
        {"46000", " 46000", "RelayPort 46000 is the simulator port, which the gauges share: choose another"},
        {takenPort, "45000", "cannot receive on UDP port " + takenPort + ": {reason}"}, // the system's words
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(relay.start(c.setting, c.simPort)) << c.setting.toStdString();
        EXPECT_FALSE(relay.status().running);
        if (const QString reason = QStringLiteral("{reason}"); c.problem.endsWith(reason)) {
            const QString start = c.problem.chopped(reason.size());
            EXPECT_TRUE(relay.status().problem.startsWith(start) && relay.status().problem.size() > start.size())
                << relay.status().problem.toStdString();
        } else {
            EXPECT_EQ(relay.status().problem, c.problem);
        }
    }
    // Stop clears the reason: nothing is asked of the relay any more.
    relay.stop();
    EXPECT_TRUE(relay.status().problem.isEmpty());
}

TEST_F(Relay, ForwardsWhileTheUserInterfaceThreadIsBusy)
{
    start();
    Gauge gauge;
    // From here on this thread handles no events: it only sends and waits on the gauge's socket.
    gauge.ask(port);
    QByteArray received;
    for (int i = 0; i < 40 && received.isEmpty(); ++i) {
        send("IAS=150");
        if (gauge.socket.waitForReadyRead(50))
            received = gauge.socket.receiveDatagram().data();
    }
    EXPECT_EQ(received, "IAS=150");
}

// A flood on the relay port (a sender in a loop, a second export script) keeps the socket full for good: the
// relay still lets its owner stop it at once, so neither Stop nor a close waits behind the flood. A panel of
// many gauges makes every datagram cost the relay many sends, so it cannot keep up.
TEST_F(Relay, StopsAtOnceUnderAFlood)
{
    start();
    std::array<Gauge, 16> gauges;
    for (Gauge& g : gauges)
        g.ask(port);
    ASSERT_TRUE(feeds(16));
    std::atomic<bool> done = false;
    std::thread flood([&, port = port] {
        QUdpSocket sender;
        const QByteArray datagram(512, 'x');
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (!done && std::chrono::steady_clock::now() < end)
            sender.writeDatagram(datagram, QHostAddress::LocalHost, port);
    });
    // Busy with the flood: under Wine each of the 16 copies costs a round trip to its server, so the count is low.
    EXPECT_TRUE(waitFor([&] { return relay.status().forwarded > 100; }));
    QElapsedTimer timer;
    timer.start();
    relay.stop();
    EXPECT_LT(timer.elapsed(), 2000);
    done = true;
    flood.join();
}

TEST(RelaySubscribers, AGaugeThatStopsAskingDropsOutAndTheTableIsBounded)
{
    using namespace std::chrono_literals;
    RelaySubscribers table;
    const RelaySubscribers::Clock::time_point t0{};
    const DatagramEndpoint a{0x7F000001, 50001}, b{0x7F000001, 50002};
    ASSERT_TRUE(table.renew(a, t0));
    ASSERT_TRUE(table.renew(b, t0));
    EXPECT_TRUE(table.renew(a, t0 + 4s));
    EXPECT_FALSE(table.expire(t0 + RelaySubscribers::lifetime));
    EXPECT_TRUE(table.expire(t0 + RelaySubscribers::lifetime + 1ms));
    EXPECT_TRUE(table.contains(a));
    EXPECT_FALSE(table.contains(b));

    for (quint16 p = 1; table.count() < RelaySubscribers::limit; ++p)
        ASSERT_TRUE(table.renew({0x7F000001, p}, t0 + 4s));
    EXPECT_FALSE(table.renew(b, t0 + 4s));
    EXPECT_TRUE(table.renew(a, t0 + 4s)); // a gauge already in keeps its place
}

TEST(RelaySubscribers, OnlyFlightDataFromOthersIsSentOn)
{
    const quint16 relay = 45001;
    const quint32 loopback = 0x7F000001, otherLoopback = 0x7F000002, lan = 0xC0A8010A; // 192.168.1.10
    RelaySubscribers subscribers;
    subscribers.renew({loopback, 50001}, {});
    const struct
    {
        QByteArrayView data;
        DatagramEndpoint from;
        RelayDatagram expected;
    } cases[] = {
        {"IAS=120", {lan, 52000}, RelayDatagram::Forward},
        {"IAS=120", {loopback, 52000}, RelayDatagram::Forward},     // the simulator on this PC
        {"IAS=120", {lan, relay}, RelayDatagram::Forward},          // another PC may send from any port
        {"IAS=120", {otherLoopback, relay}, RelayDatagram::Ignore}, // our own copy
        {"IAS=120", {loopback, 50001}, RelayDatagram::Ignore},      // from a gauge we feed
        {"SUBSCRIBE", {loopback, 50002}, RelayDatagram::Subscribe},
        {"SUBSCRIBE", {lan, 50002}, RelayDatagram::Ignore}, // only gauges on this PC
        {"SUBSCRIBE", {loopback, relay}, RelayDatagram::Ignore},
        {"", {lan, 52000}, RelayDatagram::Forward},
    };
    for (const auto& c : cases)
        EXPECT_EQ(classifyRelayDatagram(c.data, c.from, relay, subscribers), c.expected)
            << c.data.toByteArray().toStdString() << " from " << c.from.address << ":" << c.from.port;
}
