// The whole chain with real processes in a private network namespace: the export script under lua5.1 sends
// to the multicast group, the real varnolt switches panels, the sample gauges come and go.
#include "SimSupport.h"
#include "support/Printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <set>

namespace {

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

bool alive(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == 0;
}

// A UDP port is bound in this network namespace.
bool udpPortBound(quint16 port)
{
    QFile f(QStringLiteral("/proc/net/udp"));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray needle = ':' + QByteArray::number(port, 16).toUpper().rightJustified(4, '0') + ' ';
    return f.readAll().contains(needle);
}

// The program, its settings folder with two panels, and the gauges' state reports.
class Cockpit
{
public:
    Cockpit()
    {
        listenPort = freePort();
        simPort = freePort();
        const QString settings = root.filePath("Brondix/HarvolmPRO");
        write(settings + "/varnolt.ini", "[Config]\r\nPanelSwitching=yes\r\nAutoStart=no\r\nLastPanelUsed=Hornet "
                                         "FA-18C_hornet\r\nListenPort=" +
                                             QByteArray::number(listenPort) +
                                             "\r\nFlightSimPort=" + QByteArray::number(simPort) + "\r\n");
        panel("Hornet FA-18C_hornet", "P@Airspeed.exe", "Airspeed", 47110);
        panel("Warthog A-10C_2", "P@Altimeter.exe", "Altimeter", 47111);
        QDir().mkpath(stateDir());
    }

    ~Cockpit()
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
    }

    static quint16 freePort()
    {
        QUdpSocket s;
        s.bind(QHostAddress::AnyIPv4, 0);
        return s.localPort();
    }

    QString stateDir() const { return root.filePath("gauges"); }

    void start()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("APPDATA", root.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("VARNOLT_GAUGE_STATE_DIR", stateDir());
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QStringLiteral(VARNOLT_PROGRAM), {});
        ASSERT_TRUE(program.waitForStarted(5000));
        // The listener opens once the main window shows, after the splash.
        ASSERT_TRUE(waitFor([&] { return udpPortBound(listenPort); }, 20000)) << "varnolt never listened";
    }

    // Gauges whose process runs, by panel.
    std::multimap<QString, qint64> liveGauges() const
    {
        std::multimap<QString, qint64> out;
        for (const QFileInfo& f : QDir(stateDir()).entryInfoList({"*.state"}, QDir::Files)) {
            const qint64 pid = f.completeBaseName().toLongLong();
            QFile file(f.filePath());
            if (!alive(pid) || !file.open(QIODevice::ReadOnly))
                continue;
            for (const QByteArray& line : file.readAll().split('\n'))
                if (line.startsWith("panel="))
                    out.emplace(QString::fromUtf8(line.mid(6)), pid);
        }
        return out;
    }

    QMap<QString, QString> stateOf(qint64 pid) const
    {
        QMap<QString, QString> out;
        QFile file(QDir(stateDir()).filePath(QString::number(pid) + ".state"));
        if (file.open(QIODevice::ReadOnly))
            for (const QByteArray& line : file.readAll().split('\n'))
                if (const qsizetype eq = line.indexOf('='); eq > 0)
                    out.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
        return out;
    }

    std::set<qint64> everyGauge() const
    {
        std::set<qint64> out;
        for (const QFileInfo& f : QDir(stateDir()).entryInfoList({"*.state"}, QDir::Files))
            out.insert(f.completeBaseName().toLongLong());
        return out;
    }

    QTemporaryDir root;
    QProcess program;
    quint16 listenPort = 0;
    quint16 simPort = 0;

private:
    void panel(const QString& name, const QString& program, const QString& gauge, int port)
    {
        const QString folder = root.filePath("Brondix/HarvolmPRO/Panel_" + name);
        write(folder + '/' + name + ".ini",
              "[Config]\r\nPanelName=" + name.toLatin1() +
                  "\r\nPanelBGImage=\r\nPanelBGColor=0\r\nShowBackground=0\r\nPanelMonitor=0\r\n"
                  "No_of_Screens=1\r\nScreen_0_Height=600\r\nScreen_0_Width=800\r\nShowBezels=1\r\n"
                  "EnableLighting=0\r\n");
        write(folder + '/' + name + ".cfg", "\"" + gauge.toLatin1() + "\",\"" + QByteArray::number(port) +
                                                "\",\"Instruments_Standard\\" + program.toLatin1() +
                                                "\",\"Y\",\"255.255.255.255\",\"" + QByteArray::number(simPort) +
                                                "\",\"1\",\"1\"\r\n");
    }
};

using Live = std::multimap<QString, qint64>;

QStringList panelsOf(const Live& live)
{
    QStringList out;
    for (const auto& [panel, pid] : live)
        out << panel;
    return out;
}

TEST(EndToEnd, TheExportScriptSwitchesPanelsOfTheRealProgram)
{
    RUN_IN_PRIVATE_NETWORK();
    if (!FakeDcs::available())
        GTEST_SKIP() << "lua5.1 is not installed";
    Cockpit c;
    c.start();

    FakeDcs dcs;
    dcs.start();
    dcs.load(QStringLiteral("group = '224.11.5.62', listenPort = %1, simPort = %2, ttl = 0, resendSeconds = 5")
                 .arg(c.listenPort)
                 .arg(c.simPort));
    dcs.command("start");
    double t = 0;
    const auto flyUntil = [&](const std::function<bool()>& done, int ms = 15000) {
        return waitFor(
            [&] {
                dcs.command(QStringLiteral("tick %1").arg(t += 0.1));
                return done();
            },
            ms);
    };

    // The first aircraft of the mission: its panel was loaded last time, and starts with the mission.
    dcs.command("lua fake.self, fake.ias, fake.alt = {Name = 'FA-18C_hornet'}, 150, 3000");
    ASSERT_TRUE(flyUntil([&] { return panelsOf(c.liveGauges()) == QStringList{"Hornet FA-18C_hornet"}; }));
    const qint64 hornet = c.liveGauges().begin()->second;
    // Started with the launcher's command line, the gauge shows the script's flight data (150 m/s in knots).
    EXPECT_TRUE(flyUntil([&] { return c.stateOf(hornet).value("value") == "291.6"; }, 10000))
        << c.stateOf(hornet).value("value").toStdString();

    // Another aircraft: the running panel is stopped and the matching one started.
    dcs.command("lua fake.self = {Name = 'A-10C_2'}");
    ASSERT_TRUE(flyUntil([&] { return panelsOf(c.liveGauges()) == QStringList{"Warthog A-10C_2"}; }));
    EXPECT_FALSE(alive(hornet));
    const qint64 warthog = c.liveGauges().begin()->second;

    // No aircraft (spectator): nothing changes.
    dcs.command("lua fake.self = nil");
    EXPECT_FALSE(flyUntil([&] { return c.liveGauges() != Live{{"Warthog A-10C_2", warthog}}; }, 1500));

    // Mission end stops the panel.
    dcs.command("stop");
    EXPECT_TRUE(waitFor([&] { return c.liveGauges().empty(); }, 10000));
    dcs.finish();

    // varnolt-send with the user's varnolt.ini starts the loaded panel again.
    QProcess send;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("APPDATA", c.root.path());
    send.setProcessEnvironment(env);
    send.start(QStringLiteral(SEND_PROGRAM), {"--ttl", "0", "PNL:Start"});
    ASSERT_TRUE(send.waitForFinished(5000));
    EXPECT_EQ(send.exitCode(), 0) << send.readAllStandardError().toStdString();
    EXPECT_TRUE(waitFor([&] { return panelsOf(c.liveGauges()) == QStringList{"Warthog A-10C_2"}; }, 10000));

    // Closing the program stops the panel: no child is left.
    c.program.terminate();
    ASSERT_TRUE(c.program.waitForFinished(15000));
    for (const qint64 pid : c.everyGauge())
        EXPECT_FALSE(alive(pid)) << pid;
    EXPECT_EQ(c.everyGauge().size(), 3u);
}

} // namespace
