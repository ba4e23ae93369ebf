// The real program and its sample gauges under a storm of switches from the simulator side: two aircraft in
// turn every 3 ms on loopback while a panel runs, as two export scripts fighting would send them. It keeps up
// with the storm, and a termination signal in the middle of one ends it at once, leaving no child behind.
// The bounds are generous for a loaded machine; the times measured are printed.
#include "SimSupport.h"
#include "support/Printers.h"
#include "support/SystemProbe.h"

#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

class Storm
{
public:
    explicit Storm(quint16 port) : m_socket(::socket(AF_INET, SOCK_DGRAM, 0))
    {
        m_to.sin_family = AF_INET;
        m_to.sin_port = htons(port);
        m_to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    }
    ~Storm()
    {
        stop();
        ::close(m_socket);
    }

    void send(const QByteArray& datagram)
    {
        ::sendto(m_socket, datagram.constData(), size_t(datagram.size()), 0, reinterpret_cast<sockaddr*>(&m_to),
                 sizeof m_to);
    }
    void start()
    {
        m_thread = std::thread([this] {
            auto next = std::chrono::steady_clock::now();
            for (int i = 0; !m_stop; ++i) {
                m_lastWasHornet = i % 2 == 1;
                send(m_lastWasHornet ? "PNL:FA-18C_hornet" : "PNL:A-10C_2");
                std::this_thread::sleep_until(next += std::chrono::milliseconds(3));
            }
        });
    }
    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        m_stop = false;
    }
    QString lastPanel() const { return m_lastWasHornet ? "Hornet FA-18C_hornet" : "Warthog A-10C_2"; }

private:
    int m_socket;
    sockaddr_in m_to{};
    std::thread m_thread;
    std::atomic<bool> m_stop = false;
    std::atomic<bool> m_lastWasHornet = false;
};

// Running: neither gone nor a zombie waiting to be collected.
bool running(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!processRunning(pid) || !stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close < 0 || text.mid(close + 2, 1) != "Z";
}

void pump(int milliseconds)
{
    waitFor([] { return false; }, milliseconds);
}

// How long until the panel runs with its one gauge and nothing else does; -1 when not within the bound.
qint64 settles(const Cockpit& c, const QString& panel, int bound)
{
    QElapsedTimer timer;
    timer.start();
    return waitFor([&] { return c.livePanels() == QStringList{panel}; }, bound) ? timer.elapsed() : -1;
}

} // namespace

TEST(ControlStorm, TheProgramKeepsUpAndATerminationSignalEndsItAtOnce)
{
    for (int run = 1; run <= 3; ++run) {
        SCOPED_TRACE(run);
        Cockpit c;
        c.start();
        Storm storm(c.listenPort);
        storm.send("PNL:Start");
        ASSERT_GE(settles(c, "Hornet FA-18C_hornet", 10000), 0);

        // The storm ends: the last aircraft's panel runs, alone.
        storm.start();
        pump(1500);
        storm.stop();
        const qint64 settled = settles(c, storm.lastPanel(), 5000);
        EXPECT_GE(settled, 0) << "the program did not keep up with the storm";

        // 1024 records in one datagram, ending on the other panel.
        const bool toHornet = storm.lastPanel() != "Hornet FA-18C_hornet";
        QByteArray records;
        for (int i = 0; i < 1024; ++i)
            records += (i % 2 == 1) == toHornet ? "PNL:Ho|" : "PNL:Wa|";
        records.chop(1);
        ASSERT_LE(records.size(), 8192);
        storm.send(records);
        const qint64 oneDatagram = settles(c, toHornet ? "Hornet FA-18C_hornet" : "Warthog A-10C_2", 5000);
        EXPECT_GE(oneDatagram, 0) << "the datagram's switches held the program";

        // A termination signal in the middle of a storm.
        storm.start();
        pump(1000);
        QElapsedTimer sinceSignal;
        sinceSignal.start();
        ::kill(pid_t(c.program.processId()), SIGTERM);
        const bool ended = c.program.waitForFinished(5000);
        const qint64 exitTime = sinceSignal.elapsed();
        storm.stop();
        std::printf("run %d: settled %lld ms after the storm, %lld ms after the datagram of 1024 records, "
                    "ended %lld ms after SIGTERM\n",
                    run, settled, oneDatagram, exitTime);
        ASSERT_TRUE(ended) << "still running 5 s after SIGTERM";
        EXPECT_EQ(c.program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(c.program.exitCode(), 0);
        for (const qint64 pid : c.everyGauge())
            EXPECT_FALSE(running(pid)) << "gauge " << pid << " outlived the program";
    }
}
