// varnolt-send as a real process: its command line, its defaults from varnolt.ini, its errors.
#include "SimSupport.h"
#include "platform/Paths.h"
#include "support/Printers.h"

#include <QDir>
#include <QFile>
#include <QNetworkDatagram>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Sent
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs varnolt-send in a settings folder of its own; "{port}" in an argument or the settings file becomes
// the port of `inbox`.
Sent runSend(QStringList arguments, const QByteArray& settingsFile, quint16 port, const QTemporaryDir& root)
{
    if (!settingsFile.isNull()) {
        QDir().mkpath(root.filePath("Brondix/HarvolmPRO"));
        QFile f(root.filePath("Brondix/HarvolmPRO/varnolt.ini"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(settingsFile).replace("{port}", QByteArray::number(port)));
    }
    for (QString& a : arguments)
        a.replace("{port}", QString::number(port));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("APPDATA", root.path());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(SEND_PROGRAM), arguments);
    EXPECT_TRUE(waitForExit(p, 10000));
    // A Windows console program ends its lines in CR LF.
    const auto text = [](const QByteArray& bytes) { return QString::fromUtf8(bytes).replace("\r\n", "\n"); };
    return {p.exitCode(), text(p.readAllStandardOutput()), text(p.readAllStandardError())};
}

// The error as expected, where "{root}" stands for the settings folder's parent and "{reason}" at the end for
// the system's own words, which differ between systems.
void expectError(const QString& error, QString expected, const QTemporaryDir& root, const std::string& row)
{
    expected.replace("{root}/Brondix/HarvolmPRO/varnolt.ini",
                     nativePath(root.path() + "/Brondix/HarvolmPRO/varnolt.ini"));
    const QString reason = QStringLiteral("{reason}\n");
    if (!expected.endsWith(reason)) {
        EXPECT_EQ(error, expected) << row;
        return;
    }
    expected.chop(reason.size());
    EXPECT_TRUE(error.startsWith(expected) && error.size() > expected.size() + 1 && error.endsWith(u'\n'))
        << row << ": " << error.toStdString();
}

TEST(VarnoltSend, CommandLines)
{
    const QString portError = "varnolt-send: '%1' is not a port number from 1 to 65535\n";
    struct Case
    {
        QStringList arguments;
        QByteArray settings; // varnolt.ini, null for none
        int exitCode;
        QString error;
        QList<QByteArray> received; // on 127.0.0.1:{port}
    };
    const Case cases[] = {
        // Sent.
        {{"--host", "127.0.0.1", "--port", "{port}", "PNL:Stop"}, {}, 0, "", {"PNL:Stop"}},
        {{"--group=127.0.0.1", "--port={port}", "--repeat", "3", "--interval", "0", "IAS=120;ALT=3500"},
         {},
         0,
         "",
         {"IAS=120;ALT=3500", "IAS=120;ALT=3500", "IAS=120;ALT=3500"}},
        {{"PNL:A-10C_2|PNL:Start"},
         "[Config]\r\nMulticastGroup=127.0.0.1\r\nlistenport = {port}\r\n",
         0,
         "",
         {"PNL:A-10C_2|PNL:Start"}},
        {{"--host", "127.0.0.1", "--port", "{port}", "--", "--not-an-option"}, {}, 0, "", {"--not-an-option"}},
        {{"--host", "localhost", "--port", "{port}", "PNL:Stop"}, {}, 0, "", {"PNL:Stop"}}, // looked up
        // Refused.
        {{"--group", "224.11.5.256", "PNL:Stop"},
         {},
         2,
         "varnolt-send: '224.11.5.256' is not an IPv4 address or host name\n",
         {}},
        {{"--host", "my pc", "PNL:Stop"}, {}, 2, "varnolt-send: 'my pc' is not an IPv4 address or host name\n", {}},
        {{"--interface", "eth0", "PNL:Stop"}, {}, 2, "varnolt-send: 'eth0' is not an IPv4 address\n", {}},
        {{"--port", "0", "x"}, {}, 2, portError.arg("0"), {}},
        {{"--port", "65536", "x"}, {}, 2, portError.arg("65536"), {}},
        {{"--port", "48k", "x"}, {}, 2, portError.arg("48k"), {}},
        {{"--port", "-1", "x"}, {}, 2, portError.arg("-1"), {}},
        {{"--ttl", "256", "x"}, {}, 2, "varnolt-send: '256' is not a TTL from 0 to 255\n", {}},
        {{"--repeat", "0", "x"}, {}, 2, "varnolt-send: '0' is not a repeat count from 1 to 1000000\n", {}},
        {{"--interval", "soon", "x"},
         {},
         2,
         "varnolt-send: 'soon' is not an interval from 0 to 3600000 milliseconds\n",
         {}},
        {{"x", "--port"}, {}, 2, "varnolt-send: --port needs a value\n", {}},
        {{"--verbose", "x"}, {}, 2, "varnolt-send: unknown option '--verbose' (see --help)\n", {}},
        {{}, {}, 2, "varnolt-send: nothing to send: give the datagram's text, e.g. PNL:Stop\n", {}},
        {{"--host", "127.0.0.1", "--port", "{port}", ""},
         {},
         2,
         "varnolt-send: the datagram's text is empty: give e.g. PNL:Stop\n",
         {}},
        {{"PNL:Stop", "PNL:Start"},
         {},
         2,
         "varnolt-send: give the datagram's text as one argument (put it in quotes)\n",
         {}},
        {{"PNL:Stop"},
         "[Config]\r\nListenPort=48k\r\n",
         2,
         "varnolt-send: ListenPort '48k' in {root}/Brondix/HarvolmPRO/varnolt.ini is not a port number from 1 to "
         "65535; give --port\n",
         {}},
        {{"PNL:Stop"},
         "[Config]\r\nMulticastGroup=group\r\n",
         2,
         "varnolt-send: MulticastGroup 'group' in {root}/Brondix/HarvolmPRO/varnolt.ini is not an IPv4 address; "
         "give --group\n",
         {}},
        // Could not send: a name nobody knows (the reason is the resolver's), no adapter has this address
        // (nothing leaves the machine).
        {{"--host", "no-such-host.invalid", "--port", "{port}", "x"},
         {},
         1,
         "varnolt-send: cannot look up no-such-host.invalid: {reason}\n",
         {}},
        {{"--interface", "192.0.2.1", "--host", "127.0.0.1", "--port", "{port}", "x"},
         {},
         1,
         "varnolt-send: cannot send from 192.0.2.1: {reason}\n",
         {}},
    };
    for (const Case& c : cases) {
        QTemporaryDir root;
        Inbox inbox;
        const Sent s = runSend(c.arguments, c.settings, inbox.port(), root);
        const std::string row = c.arguments.join(' ').toStdString();
        EXPECT_EQ(s.exitCode, c.exitCode) << row;
        expectError(s.err, c.error, root, row);
        EXPECT_EQ(inbox.take(), c.received) << row;
    }
}

TEST(VarnoltSend, HelpExplainsItselfOnStandardOutput)
{
    QTemporaryDir root;
    const Sent s = runSend({"PNL:Stop", "--help"}, {}, 0, root);
    EXPECT_EQ(s.exitCode, 0);
    EXPECT_TRUE(s.out.startsWith("Usage: varnolt-send [options] TEXT\n")) << s.out.toStdString();
    EXPECT_TRUE(s.err.isEmpty());
}

TEST(VarnoltSend, AnUnreachableNetworkIsAnError)
{
    RUN_IN_PRIVATE_NETWORK(); // only loopback and the multicast route: any other address is unreachable
    QTemporaryDir root;
    const Sent s = runSend({"--host", "192.0.2.1", "PNL:Stop"}, {}, 0, root);
    EXPECT_EQ(s.exitCode, 1);
    expectError(s.err, "varnolt-send: cannot send to 192.0.2.1:48000: {reason}\n", root, "unreachable");
}

TEST(VarnoltSend, MulticastLeavesFromTheChosenAdapterWithTheChosenTtl)
{
    RUN_IN_PRIVATE_NETWORK();
    QTemporaryDir root;
    Inbox inbox(QHostAddress::AnyIPv4);
    ASSERT_TRUE(inbox.socket().joinMulticastGroup(QHostAddress("224.11.5.62")));
    const Sent s =
        runSend({"--interface", "127.0.0.1", "--ttl", "4", "--port", "{port}", "PNL:Start"}, {}, inbox.port(), root);
    EXPECT_EQ(s.exitCode, 0) << s.err.toStdString();
    ASSERT_TRUE(waitFor([&] { return inbox.socket().hasPendingDatagrams(); }));
    const QNetworkDatagram d = inbox.socket().receiveDatagram();
    EXPECT_EQ(d.data(), "PNL:Start");
    EXPECT_EQ(d.destinationAddress(), QHostAddress("224.11.5.62"));
    EXPECT_EQ(d.hopLimit(), 4);
}

} // namespace
