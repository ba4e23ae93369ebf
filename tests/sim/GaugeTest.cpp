// The sample gauges as real processes, seen through their state hook (VARNOLT_GAUGE_STATE_DIR).
#include "ChildIni.h"
#include "FlightData.h"
#include "SimSupport.h"
#include "support/Printers.h"
#include "support/SystemProbe.h"

#include <QDir>
#include <QFile>
#include <QNetworkInterface>
#include <QPoint>
#include <QRect>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

namespace {

using State = QMap<QString, QString>;

// One gauge started with a panel's command line, in its own settings folder.
class Gauge
{
public:
    Gauge(const QString& program, const QStringList& arguments, const QTemporaryDir& root,
          const QByteArray& scaleFactor = "1")
        : m_stateDir(root.filePath("state-" + QString::number(++s_count)))
    {
        QDir().mkpath(m_stateDir);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("APPDATA", root.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QT_SCALE_FACTOR", QString::fromLatin1(scaleFactor));
        env.insert("VARNOLT_GAUGE_STATE_DIR", m_stateDir);
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start(QStringLiteral(GAUGE_DIR "/") + program, arguments);
        EXPECT_TRUE(m_process.waitForStarted(5000));
        EXPECT_TRUE(waitFor([this] { return !state().isEmpty(); })) << program.toStdString() << " wrote no state";
    }
    ~Gauge() { killAndWait(m_process); }

    State state() const
    {
        return readGaugeState(QDir(m_stateDir).filePath(QString::number(m_process.processId()) + ".state"));
    }

    // Waits until the state shows `key` = `value`.
    bool shows(const QString& key, const QString& value, int ms = 5000) const
    {
        return waitFor([&] { return state().value(key) == value; }, ms);
    }

private:
    static inline int s_count = 0;
    QString m_stateDir;
    QProcess m_process;
};

QStringList commandLine(int ownPort, int simPort, int instance, const QString& group = "224.11.5.62")
{
    return {QString::number(ownPort),  "Cockpit", "127.0.0.1", QString::number(simPort), "1", "true", "0", "false",
            QString::number(instance), group};
}

quint16 freePort()
{
    QUdpSocket s;
    s.bind(QHostAddress::LocalHost, 0);
    return s.localPort();
}

TEST(FlightData, EachGaugeTakesItsOwnValue)
{
    struct Case
    {
        QByteArray datagram;
        const char* key;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"IAS=251.3;ALT=12040;VS=-350", "ALT", 12040},
        {"IAS=251.3;ALT=12040;VS=-350", "VS", -350},
        {"IAS=251.3;ALT=12040", "RPM", std::nullopt}, // not sent for this aircraft
        {"IAS=fast;ALT=12040", "IAS", std::nullopt},
        {"IAS=nan", "IAS", std::nullopt},
        {"120", "IAS", 120},      // typed by hand to the gauge's own port
        {" 98,5\n", "RPM", 98.5}, // with a decimal comma and a line end
        {"hello", "IAS", std::nullopt},
        {"", "IAS", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(flightValue(c.datagram, c.key), c.value) << c.datagram.toStdString() << " " << c.key;
}

// A gauge keeps its place, and every other line of its file, while another program has the file open: on
// Windows an open file cannot be replaced, nor read while a writer holds it, and the launcher's layout view
// reads it whenever it changes.
TEST(Gauge, APlaceWrittenWhileAnotherProgramHoldsTheFileIsKeptWhole)
{
    QTemporaryDir root;
    const QString path = root.filePath("Airspeed1.ini");
    ChildIni ini(path);
    ASSERT_TRUE(ini.write("Position", "Monitor", "0"));
    const std::function<std::shared_ptr<void>()> holders[] = {
        [&] {
            auto reader = std::make_shared<QFile>(path);
            return reader->open(QIODevice::ReadOnly) ? std::shared_ptr<void>(reader) : nullptr;
        },
        [&] { return holdWithoutSharing(QDir::toNativeSeparators(path)); },
    };
    int x = 100;
    for (const auto& hold : holders) {
        std::shared_ptr<void> held = hold();
        ASSERT_TRUE(held);
        std::thread release([&] {
            QThread::msleep(30);
            held.reset();
        });
        EXPECT_TRUE(ini.write("Position", "X", QString::number(++x)));
        release.join();
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), "[Position]\r\nMonitor=0\r\nX=" + QByteArray::number(x) + "\r\n");
    }
}

// Loading a panel folds ports 47001 to 47099 to 47000, where only one gauge would receive anything.
TEST(Gauge, TheCatalogueGivesEveryGaugeAPortOfItsOwnThatLoadingKeeps)
{
    QSet<int> ports;
    const QFileInfoList descriptors = QDir(QStringLiteral(GAUGE_DIR)).entryInfoList({"?@*.ini"}, QDir::Files);
    ASSERT_GE(descriptors.size(), 5);
    for (const QFileInfo& d : descriptors) {
        QFile f(d.filePath());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        const qsizetype at = text.indexOf("DefaultPort=");
        ASSERT_GE(at, 0) << d.fileName().toStdString();
        const int port = text.mid(at + 12).split('\r').front().toInt();
        EXPECT_TRUE(port > 1024 && port < 65536 && (port <= 47000 || port >= 47100)) << d.fileName().toStdString();
        EXPECT_FALSE(ports.contains(port)) << d.fileName().toStdString();
        ports.insert(port);
    }
}

TEST(Gauge, APlainNumberOnItsOwnPortStillShowsAndTheOffFlagFollowsSilence)
{
    QTemporaryDir root;
    const quint16 own = freePort();
    Gauge gauge("P@Airspeed.exe", commandLine(own, freePort(), 1, ""), root);
    EXPECT_EQ(gauge.state().value("nodata"), "1"); // nothing received yet

    QUdpSocket sender;
    ASSERT_TRUE(waitFor([&] {
        sender.writeDatagram("120", QHostAddress::LocalHost, own);
        return gauge.state().value("value") == "120";
    }));
    EXPECT_EQ(gauge.state().value("nodata"), "0");
    EXPECT_TRUE(gauge.shows("nodata", "1", 6000));
    EXPECT_EQ(gauge.state().value("value"), "120"); // the last value stays under the flag
}

TEST(Gauge, GaugesOnOneSimulatorPortAllShowTheGroupsFlightData)
{
    RUN_IN_PRIVATE_NETWORK();
    QTemporaryDir root;
    const quint16 simPort = freePort();
    Gauge first("P@Airspeed.exe", commandLine(47110, simPort, 1), root);
    Gauge second("P@Airspeed.exe", commandLine(47110, simPort, 2), root);
    Gauge altimeter("P@Altimeter.exe", commandLine(47111, simPort, 1), root);

    // To the group through loopback, with a TTL of 0: nothing leaves the machine.
    QUdpSocket sender;
    ASSERT_TRUE(sender.bind(QHostAddress::LocalHost, 0));
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces()) {
        if (i.flags() & QNetworkInterface::IsLoopBack)
            sender.setMulticastInterface(i);
    }
    sender.setSocketOption(QAbstractSocket::MulticastTtlOption, 0);
    // Joining the group takes a moment after a gauge comes up; the data keeps coming.
    EXPECT_TRUE(waitFor([&] {
        sender.writeDatagram("IAS=194.4;ALT=3281", QHostAddress(QStringLiteral("224.11.5.62")), simPort);
        return first.state().value("value") == "194.4" && second.state().value("value") == "194.4" &&
               altimeter.state().value("value") == "3281";
    })) << first.state().value("value").toStdString()
        << " " << second.state().value("value").toStdString() << " " << altimeter.state().value("value").toStdString();
}

// The export script runs under the Lua interpreter of the Linux build.
#ifndef Q_OS_WIN
TEST(Gauge, GaugesOnOneSimulatorPortAllShowTheExportScriptsData)
{
    RUN_IN_PRIVATE_NETWORK();
    if (!FakeDcs::available())
        GTEST_SKIP() << "lua5.1 is not installed";
    QTemporaryDir root;
    const quint16 simPort = freePort();
    Gauge first("P@Airspeed.exe", commandLine(47110, simPort, 1), root);
    Gauge second("P@Airspeed.exe", commandLine(47110, simPort, 2), root);
    Gauge altimeter("P@Altimeter.exe", commandLine(47111, simPort, 1), root);

    FakeDcs dcs;
    dcs.start();
    dcs.load(QStringLiteral("group = '224.11.5.62', unicast = {}, listenPort = %1, simPort = %2, ttl = 0")
                 .arg(freePort())
                 .arg(simPort));
    dcs.command("start");
    dcs.command("lua fake.self, fake.ias, fake.alt = {Name = 'P-51D'}, 100, 1000");
    // Joining the group takes a moment after the gauge comes up; the script keeps sending.
    double t = 0;
    EXPECT_TRUE(waitFor([&] {
        dcs.command(QStringLiteral("tick %1").arg(t += 0.1));
        return first.state().value("value") == "194.4" && second.state().value("value") == "194.4" &&
               altimeter.state().value("value") == "3281";
    })) << first.state().value("value").toStdString()
        << " " << second.state().value("value").toStdString() << " " << altimeter.state().value("value").toStdString();
    EXPECT_EQ(first.state().value("nodata"), "0");
    dcs.finish();
    EXPECT_TRUE(first.shows("nodata", "1", 6000));
    EXPECT_TRUE(second.shows("nodata", "1", 1000));
}
#endif

TEST(Gauge, GaugesAndTheBackgroundPlaceThemselvesInDevicePixelsWhateverTheScaleFactor)
{
    QTemporaryDir root;
    QDir().mkpath(root.filePath("Brondix/HarvolmPRO/Panel_Cockpit"));
    QFile position(root.filePath("Brondix/HarvolmPRO/Panel_Cockpit/Airspeed1.ini"));
    ASSERT_TRUE(position.open(QIODevice::WriteOnly));
    position.write("[Position]\r\nMonitor=0\r\nX=100\r\nY=60\r\nIsLocked=True\r\n[Size]\r\nScaleSize=1\r\n");
    position.close();
    QFile background(root.filePath("Brondix/HarvolmPRO/Panel_Cockpit/PanelBackGround.ini"));
    ASSERT_TRUE(background.open(QIODevice::WriteOnly));
    background.write("[Settings]\r\nWidth=400\r\nHeight=300\r\n[Position]\r\nTop=50\r\nLeft=120\r\n");
    background.close();
    const auto deviceGeometry = [](const State& s) {
        const double dpr = s.value("dpr").toDouble();
        const QStringList g = s.value("geometry").split(',');
        return g.size() == 4 ? QRect(QPoint(g[0].toInt(), g[1].toInt()) * dpr, QSize(g[2].toInt(), g[3].toInt()) * dpr)
                             : QRect();
    };

    // Device pixels = logical ones times the ratio: the same place and size on both runs.
    for (const QByteArray factor : {"1", "2"}) {
        Gauge gauge("P@Airspeed.exe", commandLine(freePort(), freePort(), 1, ""), root, factor);
        EXPECT_EQ(gauge.state().value("dpr").toDouble(), factor.toDouble());
        EXPECT_EQ(deviceGeometry(gauge.state()), QRect(100, 60, 200, 200)) << factor.toStdString();
        EXPECT_EQ(gauge.state().value("locked"), "1");
        // Its window size, in device pixels too, is kept beside the place for the launcher's layout view.
        ASSERT_TRUE(position.open(QIODevice::ReadOnly));
        EXPECT_EQ(position.readAll(), "[Position]\r\nMonitor=0\r\nX=100\r\nY=60\r\nIsLocked=True\r\n"
                                      "[Size]\r\nScaleSize=1\r\nWidth=200\r\nHeight=200\r\n");
        position.close();

        Gauge panel("../PanelBackGround.exe",
                    {"0", "Cockpit", "255.255.255.255", "45000", "0", "true", "0", "false", "1", "224.11.5.62"}, root,
                    factor);
        EXPECT_EQ(deviceGeometry(panel.state()), QRect(120, 50, 400, 300)) << factor.toStdString();
    }

    // Without a position file, instances and ports open apart, not all at the corner, and keep that place in
    // the file so the launcher's layout view shows them from their first start on.
    ASSERT_TRUE(position.remove());
    QSet<QString> places;
    for (const auto& [port, instance] : {std::pair{47110, 1}, {47110, 2}, {47111, 1}}) {
        Gauge gauge("P@Airspeed.exe", commandLine(port, freePort(), instance, ""), root);
        const QStringList g = gauge.state().value("geometry").split(',');
        ASSERT_EQ(g.size(), 4);
        EXPECT_NE(g[0] + ',' + g[1], "0,0");
        places.insert(g[0] + ',' + g[1]);
        QFile kept(root.filePath(QStringLiteral("Brondix/HarvolmPRO/Panel_Cockpit/Airspeed%1.ini").arg(instance)));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << "no position file for instance " << instance;
        EXPECT_EQ(kept.readAll(), QStringLiteral("[Position]\r\nMonitor=0\r\nX=%1\r\nY=%2\r\nIsLocked=False\r\n"
                                                 "[Size]\r\nScaleSize=1\r\nWidth=200\r\nHeight=200\r\n")
                                      .arg(g[0], g[1])
                                      .toLatin1());
        kept.remove(); // the next gauge of the same instance number opens afresh
    }
    EXPECT_EQ(places.size(), 3);
}

} // namespace
