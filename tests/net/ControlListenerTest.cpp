#include "net/ControlListener.h"
#include "app/MainController.h"
#include "app/Subsystems.h"
#include "instruments/InstrumentListModel.h"
#include "instruments/InstrumentListStore.h"
#include "platform/Errors.h"
#include "support/LoadPanel.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"
#include "support/Wait.h"

#include <QCoreApplication>
#include <QNetworkInterface>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

// Ends the test program when a step hangs, instead of letting it wait for ever.
class Watchdog
{
public:
    explicit Watchdog(int seconds)
        : m_thread([this, seconds] {
              std::unique_lock lock(m_mutex);
              if (!m_done.wait_for(lock, std::chrono::seconds(seconds), [this] { return m_finished; })) {
                  std::fprintf(stderr, "Watchdog: the step hangs\n");
                  std::abort();
              }
          })
    {}
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_one();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

void pump(int milliseconds)
{
    waitFor([] { return false; }, milliseconds);
}

struct Listener : ::testing::Test
{
    TestPlatform t;
    ScriptedProcesses children;
    ScriptedPrompter prompter;
    Session s{t.platform(children), prompter};
    Subsystems services{s};
    QUdpSocket sender;
    int syncs = 0;

    Listener()
    {
        s.folders = ResolveFolders(t.env, t.files);
        services.CreateProcessList();
        for (const char* name : {"Cockpit", "F-16C", "A-10C"})
            makePanel(name);
        s.settings.ListenPort = QStringLiteral("0");
    }

    void makePanel(const QString& name, int rows = 1)
    {
        std::vector<InstrumentRow> list(rows);
        for (InstrumentRow& r : list) {
            r.Name = QStringLiteral("Airspeed");
            r.field(InstrumentRow::PortNo) = QStringLiteral("47000");
            r.field(InstrumentRow::PathName) = QStringLiteral("Instruments_Standard\\P@Airspeed.exe");
        }
        InstrumentListModel model(t.locale);
        model.setRows(list);
        SaveInstrumentList(t.files, s.folders.IniPath, name, model,
                           {s.settings.FlightSimIPAddress, s.settings.FlightSimPort});
    }
    void load(const QString& name)
    {
        if (services.isRunning())
            services.StopPanel();
        loadPanel(s.loaded(), name);
    }
    void open()
    {
        services.StartControlListener();
        ASSERT_TRUE(listener().isBound());
    }
    ControlListener& listener() { return services.listener(); }
    void send(const QByteArray& datagram)
    {
        ASSERT_EQ(sender.writeDatagram(datagram, QHostAddress::LocalHost, listener().boundPort()), datagram.size());
    }
    // Sends the datagram and waits until a later one was handled, so everything it asked for is done.
    void deliver(const QByteArray& datagram)
    {
        send(datagram);
        const QString marker = QStringLiteral("sync%1").arg(++syncs);
        send("PNL:" + marker.toLatin1());
        ASSERT_TRUE(waitFor([&] { return s.loaded().documentName().endsWith(u'(' + marker + u')'); }))
            << datagram.data();
    }
    bool launchedPanel(const QString& name) const
    {
        return children.launched.filter(u'"' + name + u'"').size() == 2; // background and gauge
    }
};

} // namespace

TEST_F(Listener, StopAndStartActOnlyWhenTheirActionIsEnabled)
{
    open();
    // Nothing loaded: PNL Start is ignored.
    deliver("PNL:Start");
    EXPECT_FALSE(services.isRunning());
    EXPECT_TRUE(children.launched.isEmpty());

    load("Cockpit");
    deliver("PNL:Stop");
    EXPECT_FALSE(services.isRunning());
    deliver("PNL:Start");
    EXPECT_TRUE(services.isRunning());
    EXPECT_TRUE(launchedPanel("Cockpit"));
    deliver("PNL:Start");
    EXPECT_EQ(children.launched.size(), 2);

    deliver("PNL:Stop|PNL:Start");
    EXPECT_EQ(children.terminated.size(), 2u);
    EXPECT_EQ(children.launched.size(), 4);
    EXPECT_TRUE(services.isRunning());
    deliver("pnl:Stop|PNL: Stop");
    EXPECT_TRUE(services.isRunning());
    deliver("PNL:\"Stop\"");
    EXPECT_FALSE(services.isRunning());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(Listener, AnAircraftNameSwitchesPanelsAsTheSettingsSay)
{
    open();
    const struct
    {
        bool switching, autoStart, running;
        QString aircraft, documentName, panel;
        bool runsAfter;
    } cases[] = {
        {true, false, true, "F-16", "F-16C(F-16)", "F-16C", true},
        {true, true, false, "F-16", "F-16C(F-16)", "F-16C", true},
        {true, false, false, "F-16", "Cockpit (F-16)", "Cockpit", false},
        {false, true, true, "F-16", "Cockpit (F-16)", "Cockpit", true},
        {false, true, false, "F-16", "Cockpit (F-16)", "Cockpit", false},
        {true, true, true, "Cock", "Cockpit (Cock)", "Cockpit", true},
        {true, true, true, "f-16", "Cockpit (f-16)", "Cockpit", true},
        {true, true, true, "Su-27", "Cockpit (Su-27)", "Cockpit", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.documentName.toStdString());
        load("Cockpit");
        s.settings.PanelSwitching = c.switching;
        s.settings.AutoStart = c.autoStart;
        if (c.running)
            services.StartPanel();
        children.launched.clear();
        children.terminated.clear();

        send("PNL:" + c.aircraft.toLatin1());
        ASSERT_TRUE(waitFor([&] { return s.loaded().documentName() == c.documentName; }))
            << s.loaded().documentName().toStdString();
        EXPECT_EQ(s.loaded().record().Name, c.panel);
        EXPECT_EQ(services.isRunning(), c.runsAfter);
        const bool switched = c.panel != "Cockpit";
        EXPECT_EQ(launchedPanel(c.panel), switched);
        EXPECT_EQ(children.terminated.size(), switched && c.running ? 2u : 0u);
    }
}

TEST_F(Listener, ASwitchKeepsTheLeftPanelsRowsAndNeverRestartsTheRunningPanel)
{
    const auto savedLines = [&] {
        return TestPlatform::readBytes(t.panelFolder("Cockpit") + "/Cockpit.cfg").count('\n');
    };
    load("Cockpit");
    const InstrumentRow row = s.loaded().instruments().rows().front();
    s.loaded().instruments().setRows({row, row});
    s.settings.PanelSwitching = s.settings.AutoStart = true;
    open();
    const qsizetype before = savedLines();
    deliver("PNL:Su-27"); // no panel for it: nothing is left, nothing written
    EXPECT_EQ(savedLines(), before);
    EXPECT_EQ(s.loaded().instruments().rows().size(), 2u);
    deliver("PNL:F-16");
    ASSERT_EQ(s.loaded().record().Name, "F-16C");
    ASSERT_TRUE(services.isRunning());
    EXPECT_EQ(savedLines(), before + 1);

    // "Panel_Cockpit" holds the name, the panel name does not: the loaded panel is found, with its edits.
    load("Cockpit");
    s.loaded().instruments().setRows({row, row, row});
    children.launched.clear();
    deliver("PNL:l_Cock");
    EXPECT_TRUE(services.isRunning());
    EXPECT_EQ(children.launched.size(), 4); // background and three gauges

    children.launched.clear();
    children.terminated.clear();
    deliver("PNL:l_Cock");
    EXPECT_TRUE(services.isRunning());
    EXPECT_TRUE(children.launched.isEmpty());
    EXPECT_TRUE(children.terminated.empty());
}

TEST_F(Listener, APanelWhoseListCannotBeReadLeavesTheLoadedRowsInPlace)
{
    // Its folder holds no instrument list: looking it up fails after the list was emptied for it.
    TestPlatform::writeBytes(t.panelFolder("MiG-29") + "/MiG-29.ini", "[Config]\r\n");
    load("Cockpit");
    const InstrumentRow row = s.loaded().instruments().rows().front();
    s.loaded().instruments().setRows({row, row});
    s.settings.PanelSwitching = s.settings.AutoStart = true;
    services.StartPanel();
    open();
    deliver("PNL:MiG");
    EXPECT_EQ(s.loaded().record().Name, "Cockpit");
    EXPECT_TRUE(services.isRunning());
    // Close saves the list under the loaded panel's name: it must still be that panel's.
    EXPECT_EQ(s.loaded().instruments().rows().size(), 2u);
}

TEST_F(Listener, ADatagramLongerThanTheBufferIsDroppedWhole)
{
    makePanel("Alpha F-16C");
    makePanel("Bravo F-16C_50");
    load("Alpha F-16C");
    s.settings.PanelSwitching = true;
    services.StartPanel();
    open();
    QStringList captions;
    QObject::connect(&s.loaded(), &LoadedPanel::documentNameChanged, [&](const QString& c) { captions << c; });

    // Cut to the 8192-byte buffer, the record across the end would read "PNL:Bravo" and switch to Bravo.
    deliver(QByteArray(8182, 'X') + "|PNL:Bravo" + QByteArray(1000, 'Y'));
    EXPECT_EQ(captions.join(u'|').toStdString(), "Alpha F-16C (sync1)");
    EXPECT_EQ(s.loaded().name(), "Alpha F-16C");

    // Exactly the buffer's size: all of it is there.
    deliver(QByteArray(8192 - 13, 'X') + "|PNL:F-16C_50");
    EXPECT_EQ(s.loaded().name(), "Bravo F-16C_50");
    EXPECT_TRUE(services.isRunning());
}

TEST_F(Listener, DatagramsWaitWhileADialogIsOpen)
{
    load("Cockpit");
    open();
    // A dialog the test opens and closes by hand.
    std::optional<Prompter::ModalScope> dialog;
    dialog.emplace(prompter);
    send("PNL:Start");
    pump(300);
    EXPECT_FALSE(services.isRunning());
    dialog.reset();
    EXPECT_TRUE(waitFor([&] { return services.isRunning(); }));

    // A datagram arriving while a record of ours shows a dialog waits for that record to finish.
    services.StopPanel();
    t.addresses.addresses = {"10.0.0.5", "192.168.1.20"};
    s.LocalIPAddressToUse = "Auto";
    prompter.answerDialog([&](DialogModel&) {
        send("PNL:Stop");
        pump(200);
        return true;
    });
    send("PNL:Start");
    EXPECT_TRUE(waitFor([&] { return !services.isRunning() && children.terminated.size() == 4; }));
}

TEST_F(Listener, ClosingNeverWaitsForTheUserInterface)
{
    Watchdog watchdog(20);
    load("Cockpit");
    open();
    send("PNL:Start");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    services.StopControlListener(); // the datagram is in flight, its handling not begun
    pump(200);
    EXPECT_FALSE(services.isRunning());

    // Closed from within a record's dialog (the program ends meanwhile): the records behind it are dropped.
    open();
    t.addresses.addresses = {"10.0.0.5", "192.168.1.20"};
    s.LocalIPAddressToUse = "Auto";
    prompter.answerDialog([&](DialogModel&) {
        services.StopControlListener();
        return true;
    });
    send("PNL:Start|PNL:Stop");
    ASSERT_TRUE(waitFor([&] { return !listener().isOpen(); }));
    pump(200);
    EXPECT_TRUE(services.isRunning());
}

TEST_F(Listener, OnceACloseIsAskedForNoRecordIsHandled)
{
    load("Cockpit");
    services.StartPanel();
    open();
    {
        // Held back by a dialog, the Stop is waiting when the close is asked for.
        const Prompter::ModalScope dialog(prompter);
        send("PNL:Stop");
        ASSERT_TRUE(waitFor([&] { return listener().queuedBytes() > 0; }));
        services.EndControlDelivery();
    }
    send("PNL:Stop");
    pump(300);
    EXPECT_TRUE(services.isRunning());
    EXPECT_EQ(listener().queuedBytes(), 0);
}

TEST_F(Listener, AGroupOrPortThatCannotBeReadEndsTheOpening)
{
    const struct
    {
        QString group, port, error;
    } cases[] = {
        {"224.11.5.62", "48x", "'48x' is not a valid integer value"},
        {"223.255.0.1", "0", "The supplied IP address is not a valid multicast address."},
        {"240.0.0.1", "0", "The supplied IP address is not a valid multicast address."},
        {"239.1.2.256", "0", "The supplied IP address is not a valid multicast address."},
        {"239.1.2", "0", "The supplied IP address is not a valid multicast address."},
        {" 239.1.2.3", "0", "The supplied IP address is not a valid multicast address."},
        {"239.1.2.3\n", "0", "The supplied IP address is not a valid multicast address."},
        {"239.1..3", "0", "The supplied IP address is not a valid multicast address."},
        {"239.1.2.+3", "0", "The supplied IP address is not a valid multicast address."},
        {"239.1.2.3.4", "0", "The supplied IP address is not a valid multicast address."},
        {"239.1.2.99999999999", "0", "The supplied IP address is not a valid multicast address."},
        {QString::fromUtf8("239.1.2.\u0663"), "0", "The supplied IP address is not a valid multicast address."},
        {"239.1.2.3", "", "'' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        s.settings.MulticastGroup = c.group;
        s.settings.ListenPort = c.port;
        try {
            services.StartControlListener();
            ADD_FAILURE() << "opened with " << c.group.toStdString();
        } catch (const VarnoltError& e) {
            EXPECT_EQ(e.message(), c.error);
        }
        EXPECT_FALSE(listener().isOpen());
    }
}

TEST_F(Listener, APortInUseLeavesTheListenerDeafWithoutAWord)
{
    // An earlier opening that succeeded leaves nothing behind that would claim this one did.
    open();
    services.StopControlListener();

    QUdpSocket other;
    ASSERT_TRUE(other.bind(QHostAddress::AnyIPv4, 0, QAbstractSocket::DontShareAddress));
    s.settings.ListenPort = QString::number(other.localPort());
    services.StartControlListener();
    EXPECT_TRUE(listener().isOpen());
    EXPECT_FALSE(listener().isBound());
    EXPECT_FALSE(listener().isJoined());
    EXPECT_EQ(listener().boundPort(), 0);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(Listener, DatagramsToTheGroupArrive)
{
    // The listener joins on the default interface, so only a network of our own keeps the test's group
    // traffic (the datagram and the membership report) off the real one.
    if (!qEnvironmentVariableIsSet("VARNOLT_PRIVATE_NET"))
        GTEST_SKIP() << "no private network namespace here (tools/private-net.sh); not sending to a real group";
    load("Cockpit");
    open();
    ASSERT_TRUE(listener().isJoined());
    // Pinned to loopback as well, with a TTL of 0: the datagram cannot leave the machine whatever the routes.
    ASSERT_TRUE(sender.bind(QHostAddress::LocalHost, 0));
    QNetworkInterface loopback;
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces()) {
        if (i.flags() & QNetworkInterface::IsLoopBack)
            loopback = i;
    }
    ASSERT_TRUE(loopback.isValid());
    sender.setMulticastInterface(loopback);
    sender.setSocketOption(QAbstractSocket::MulticastTtlOption, 0);
    sender.setSocketOption(QAbstractSocket::MulticastLoopbackOption, 1);
    ASSERT_EQ(sender.multicastInterface().index(), loopback.index());
    ASSERT_EQ(sender.socketOption(QAbstractSocket::MulticastTtlOption).toInt(), 0);
    sender.writeDatagram("PNL:Start", QHostAddress(QStringLiteral("224.11.5.62")), listener().boundPort());
    EXPECT_TRUE(waitFor([&] { return services.isRunning(); }));
}

TEST(ListenerAtStartUp, ABadListenPortEndsStartUpBeforeTheAutomaticStart)
{
    TestPlatform t;
    ScriptedPrompter prompter;
    MainController controller(t.platform(), prompter, {"start"});
    TestPlatform::writeBytes(t.panelFolder("Cockpit") + "/Cockpit.cfg", "");
    TestPlatform::writeBytes(t.settingsFile(), "[Config]\r\nLastPanelUsed=Cockpit\r\nListenPort=4800O\r\n");
    controller.startUp();
    EXPECT_EQ(prompter.messageTexts(), QStringList{"'4800O' is not a valid integer value"});
    EXPECT_EQ(controller.session().loaded().record().Name, "Cockpit");
    EXPECT_FALSE(controller.actions().stopEnabled);
    controller.FormClose();
}
