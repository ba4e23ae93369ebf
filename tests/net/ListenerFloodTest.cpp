// The real listener under a flood on loopback: nothing lost that a bare receive loop would keep, every datagram
// handled in order, the memory taken stays within the queue's bound, and the user is heard in a storm.
#include "app/Session.h"
#include "app/Subsystems.h"
#include "instruments/InstrumentListStore.h"
#include "support/LoadPanel.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include "support/SystemProbe.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTimer>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

#ifdef _WIN32
// Under Wine every socket and file call is a round trip to its server, and the test's thread handles each
// record at a few milliseconds; fewer still fill the queue many times over.
constexpr int kDatagrams = 4000;
#else
constexpr int kDatagrams = 10000;
#endif

// Under AddressSanitizer freed memory stays in quarantine, so the resident size says nothing about the queue.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentSizeMeaningful = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kResidentSizeMeaningful = false;
#else
constexpr bool kResidentSizeMeaningful = true;
#endif
#else
constexpr bool kResidentSizeMeaningful = true;
#endif

// Sends from a thread of its own, in small bursts with a pause between them, so the test's own thread is
// free to handle what arrives.
class PacedSender
{
public:
    explicit PacedSender(quint16 port) : m_port(port) {}
    ~PacedSender()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    void send(const QByteArray& datagram)
    {
        QUdpSocket socket;
        socket.writeDatagram(datagram, QHostAddress::LocalHost, m_port);
    }
    void flood(int count, const QByteArray& last)
    {
        m_thread = std::thread([this, count, last] {
            // Made on the thread that uses it.
            QUdpSocket socket;
            const auto send = [&](const QByteArray& d) { socket.writeDatagram(d, QHostAddress::LocalHost, m_port); };
            for (int i = 0; i < count; ++i) {
                // The Start behind the aircraft (nothing to do while the panel runs) keeps the next aircraft
                // record from superseding this one, so each must show.
                send("PNL:n" + QByteArray::number(i) + "|PNL:Start");
                if (i % 20 == 19)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            send(last);
            done = true;
        });
    }
    // Two aircraft in turn, one every 3 ms, as two export scripts fighting would send them.
    void storm(std::chrono::milliseconds length, const QByteArray& first, const QByteArray& second)
    {
        m_thread = std::thread([this, length, first, second] {
            const auto end = std::chrono::steady_clock::now() + length;
            auto next = std::chrono::steady_clock::now();
            for (int i = 0; next < end; ++i) {
                send(i % 2 ? second : first);
                std::this_thread::sleep_until(next += std::chrono::milliseconds(3));
            }
            done = true;
        });
    }

    std::atomic<bool> done = false;

private:
    quint16 m_port;
    std::thread m_thread;
};

} // namespace

struct ListenerFlood : ::testing::Test
{
    TestPlatform t;
    ScriptedProcesses children;
    ScriptedPrompter prompter;
    Session s{t.platform(children), prompter};
    Subsystems services{s};
    // Each datagram names the next aircraft; the document name shows which ones were handled, in which order.
    std::vector<int> handled;
    bool inOrder = true;

    void SetUp() override
    {
        s.folders = ResolveFolders(t.env, t.files);
        services.CreateProcessList();
        InstrumentRow row;
        row.Name = QStringLiteral("Airspeed");
        row.field(InstrumentRow::PortNo) = QStringLiteral("47000");
        row.field(InstrumentRow::PathName) = QStringLiteral("Instruments_Standard\\P@Airspeed.exe");
        InstrumentListModel rows(t.locale);
        rows.setRows({row});
        SaveInstrumentList(t.files, s.folders.IniPath, QStringLiteral("Cockpit"), rows,
                           {s.settings.FlightSimIPAddress, s.settings.FlightSimPort});
        loadPanel(s.loaded(), QStringLiteral("Cockpit"));
        services.StartPanel();
        ASSERT_TRUE(services.isRunning());
        s.settings.ListenPort = QStringLiteral("0");
        services.StartControlListener();
        ASSERT_TRUE(services.listener().isBound());

        QObject::connect(&s.loaded(), &LoadedPanel::documentNameChanged, [this](const QString& name) {
            static const QString prefix = QStringLiteral("Cockpit (n");
            if (!name.startsWith(prefix))
                return; // Stop shows the bare panel name again
            const int n = QStringView(name).mid(prefix.size()).chopped(1).toInt();
            inOrder = inOrder && (handled.empty() || n > handled.back());
            handled.push_back(n);
        });
        handled.reserve(kDatagrams);
    }
    void TearDown() override { services.StopControlListener(); }

    // Handles what arrives until the Stop behind the flood stopped the panel; the peaks seen meanwhile.
    void handleUntilStopped(long& peakKiB, qsizetype& peakQueued)
    {
        const QDeadlineTimer deadline(60000);
        while (services.isRunning() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            peakKiB = std::max(peakKiB, residentKiB());
            peakQueued = std::max(peakQueued, services.listener().queuedBytes());
        }
    }
};

TEST_F(ListenerFlood, EveryDatagramIsHandledInOrderAndTheStopBehindThemIsObeyed)
{
    const long before = residentKiB();
    long peak = before;
    qsizetype peakQueued = 0;
    PacedSender sender(services.listener().boundPort());
    sender.flood(kDatagrams, "PNL:Stop");
    handleUntilStopped(peak, peakQueued);

    EXPECT_FALSE(services.isRunning()) << "the Stop behind the flood was lost";
    EXPECT_EQ(handled.size(), size_t(kDatagrams));
    EXPECT_TRUE(inOrder);
    // The reader stops once the bound is reached, so the datagram that reached it is the most it goes over.
    EXPECT_LE(peakQueued, ControlQueue::kByteBound + 1024);
    if (kResidentSizeMeaningful) {
        EXPECT_LE(peak - before, 4 * 1024) << "resident memory grew from " << before << " to " << peak << " KiB";
    }
}

TEST_F(ListenerFlood, DatagramsHeldBackByADialogFillTheQueueOnlyToItsBound)
{
    const long before = residentKiB();
    long peak = before;
    qsizetype peakQueued = 0;
    {
        const Prompter::ModalScope dialog(prompter);
        PacedSender sender(services.listener().boundPort());
        sender.flood(kDatagrams, "PNL:n" + QByteArray::number(kDatagrams));
        const QDeadlineTimer deadline(60000);
        while (!sender.done && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            peak = std::max(peak, residentKiB());
            peakQueued = std::max(peakQueued, services.listener().queuedBytes());
        }
        EXPECT_TRUE(handled.empty());
    }
    // What could not wait in the queue or the socket is lost; the rest comes in order, and so does the Stop.
    PacedSender(services.listener().boundPort()).send("PNL:Stop");
    handleUntilStopped(peak, peakQueued);

    EXPECT_FALSE(services.isRunning());
    EXPECT_TRUE(inOrder);
    EXPECT_FALSE(handled.empty());
    EXPECT_GE(peakQueued, ControlQueue::kByteBound / 2) << "the queue never filled: the test proves nothing";
    EXPECT_LE(peakQueued, ControlQueue::kByteBound + 1024);
    if (kResidentSizeMeaningful) {
        EXPECT_LE(peak - before, 4 * 1024) << "resident memory grew from " << before << " to " << peak << " KiB";
    }
}

TEST_F(ListenerFlood, TheUsersStopGetsThroughAStormOfSwitches)
{
    for (const char* name : {"Warthog A-10C", "Hornet FA-18C_hornet"}) {
        InstrumentListModel rows(t.locale);
        rows.setRows(s.loaded().instruments().rows());
        SaveInstrumentList(t.files, s.folders.IniPath, name, rows,
                           {s.settings.FlightSimIPAddress, s.settings.FlightSimPort});
    }
    s.settings.PanelSwitching = true;
    // Starting a program takes a while, so the storm brings switches far faster than they can be made.
    children.launchTime = std::chrono::milliseconds(20);

    PacedSender sender(services.listener().boundPort());
    QElapsedTimer clock;
    clock.start();
    sender.storm(std::chrono::milliseconds(2000), "PNL:A-10C", "PNL:FA-18C_hornet");
    // The user's Stop comes from the event loop, as a click on the button does.
    qint64 stoppedAt = -1;
    QTimer::singleShot(500, [&] {
        stoppedAt = clock.elapsed();
        services.StopPanel();
    });
    const QDeadlineTimer deadline(60000);
    while (!sender.done && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_TRUE(sender.done);
    const qint64 stormEnded = clock.elapsed();

    EXPECT_GE(stoppedAt, 0);
    EXPECT_LT(stoppedAt, stormEnded) << "the Stop waited for the storm to end";
    EXPECT_FALSE(services.isRunning()) << "a switch started a panel again after the user's Stop";
}
