#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUdpSocket>

#include <map>
#include <set>
#include <vector>

#include "support/Wait.h"

// A gauge's state hook file (VARNOLT_GAUGE_STATE_DIR) as key=value pairs; empty while there is none.
QMap<QString, QString> readGaugeState(const QString& file);

// The export script under lua5.1 in a stand-in for DCS (fake_dcs.lua), driven one command line at a time.
class FakeDcs
{
public:
    FakeDcs();
    ~FakeDcs();

    static bool available(); // lua5.1 is installed
    void start();
    // Sends one command and waits for its answer; returns the lines it printed before "ok", or an error.
    QStringList command(const QString& line);
    // Sets VarnoltExportSettings from a Lua table body and loads the script.
    void load(const QString& settings);
    void finish();

private:
    QProcess m_lua;
};

// Datagrams that reach one loopback port.
class Inbox
{
public:
    explicit Inbox(const QHostAddress& address = QHostAddress::LocalHost, quint16 port = 0);
    quint16 port() const { return m_socket.localPort(); }
    // Everything that arrived so far (datagrams on loopback are queued at the moment they are sent).
    QList<QByteArray> take();
    QUdpSocket& socket() { return m_socket; }

private:
    QUdpSocket m_socket;
};

// The real program in a settings folder of its own with two panels of one sample gauge each, "Hornet
// FA-18C_hornet" (last used) and "Warthog A-10C_2", panel switching on, and the gauges' state reports
// (VARNOLT_GAUGE_STATE_DIR) that tell which gauges run for which panel.
class Cockpit
{
public:
    Cockpit();
    // Ends the program and any gauge it left.
    ~Cockpit();

    static quint16 freePort();
    QString settingsFile() const;
    QString stateDir() const;

    // Starts the program (headless on Linux unless `extra` says otherwise) and waits until its listener is
    // open, which is after the splash.
    void start(const QStringList& arguments = {}, const QProcessEnvironment& extra = {}, bool waitForListener = true);
    void send(const QByteArray& datagram); // to the listen port on loopback

    // Gauges whose process runs, by panel.
    std::multimap<QString, qint64> liveGauges() const;
    QStringList livePanels() const;
    // What the running gauges show, sorted, " OFF" after a value shown without flight data.
    QStringList shownValues() const;
    QMap<QString, QString> stateOf(qint64 pid) const;
    std::set<qint64> everyGauge() const;

    QTemporaryDir root;
    QProcess program;
    quint16 listenPort = 0;
    quint16 simPort = 0;
    quint16 relayPort = 0;

    struct Row
    {
        QByteArray gauge, program;
        int port, instance;
    };
    // Writes a panel folder whose rows send the sample gauges to the simulator port.
    void panel(const QString& name, const std::vector<Row>& rows);
};

using Live = std::multimap<QString, qint64>;

// Multicast is tried only inside a private network namespace whose one interface is loopback with a
// route for 224.0.0.0/4, so nothing can reach a real network. Outside it this re-runs the current test in
// such a namespace and reports its result; `why` says what stood in the way where none can be made.
enum class PrivateNetwork
{
    Inside,   // run the test body here
    RanThere, // the test ran in the namespace; `exitCode` has its result
    Impossible,
};
PrivateNetwork enterPrivateNetwork(int& exitCode, QString& why);

#define RUN_IN_PRIVATE_NETWORK()                                                                                       \
    do {                                                                                                               \
        int exitCode_ = 0;                                                                                             \
        QString why_;                                                                                                  \
        switch (enterPrivateNetwork(exitCode_, why_)) {                                                                \
        case PrivateNetwork::Inside:                                                                                   \
            break;                                                                                                     \
        case PrivateNetwork::RanThere:                                                                                 \
            EXPECT_EQ(exitCode_, 0) << "the test failed inside the private network namespace (output above)";          \
            return;                                                                                                    \
        case PrivateNetwork::Impossible:                                                                               \
            GTEST_SKIP() << "no private network namespace for multicast: " << why_.toStdString();                      \
        }                                                                                                              \
    } while (false)
