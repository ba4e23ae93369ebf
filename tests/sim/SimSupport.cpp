#include "SimSupport.h"

#include "support/SystemProbe.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QNetworkInterface>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

FakeDcs::FakeDcs()
{
    m_lua.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

FakeDcs::~FakeDcs()
{
    killAndWait(m_lua, 2000);
}

bool FakeDcs::available()
{
    return QFileInfo(QStringLiteral(LUA_PROGRAM)).isExecutable();
}

void FakeDcs::start()
{
    m_lua.start(QStringLiteral(LUA_PROGRAM), {QStringLiteral(FAKE_DCS)});
    EXPECT_TRUE(m_lua.waitForStarted(5000));
}

QStringList FakeDcs::command(const QString& line)
{
    m_lua.write(line.toUtf8() + '\n');
    QStringList printed;
    QByteArray pending;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        if (!m_lua.canReadLine() && !m_lua.waitForReadyRead(200)) {
            if (m_lua.state() == QProcess::NotRunning)
                break;
            continue;
        }
        while (m_lua.canReadLine()) {
            const QString answer = QString::fromUtf8(m_lua.readLine()).trimmed();
            if (answer == QLatin1String("ok"))
                return printed;
            if (answer.startsWith(QLatin1String("error "))) {
                ADD_FAILURE() << line.toStdString() << ": " << answer.toStdString();
                return printed;
            }
            printed << answer;
        }
    }
    ADD_FAILURE() << "no answer from the fake DCS to: " << line.toStdString();
    return printed;
}

void FakeDcs::load(const QString& settings)
{
    command(QStringLiteral("lua VarnoltExportSettings = {%1}").arg(settings));
    command(QStringLiteral("load ") + QStringLiteral(EXPORT_SCRIPT));
}

void FakeDcs::finish()
{
    m_lua.closeWriteChannel();
    EXPECT_TRUE(waitForExit(m_lua));
}

Inbox::Inbox(const QHostAddress& address, quint16 port)
{
    EXPECT_TRUE(m_socket.bind(address, port, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint));
}

QList<QByteArray> Inbox::take()
{
    QList<QByteArray> out;
    while (m_socket.hasPendingDatagrams()) {
        QByteArray d(int(m_socket.pendingDatagramSize()), '\0');
        m_socket.readDatagram(d.data(), d.size());
        out << d;
    }
    return out;
}

namespace {

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

} // namespace

QMap<QString, QString> readGaugeState(const QString& file)
{
    // On Windows the file cannot be opened in the instant the gauge renames a new state over it (the rename
    // holds it with delete access, which readers do not share), so a file that is there is tried again.
    QFile f(file);
    QElapsedTimer waited;
    waited.start();
    while (!f.open(QIODevice::ReadOnly)) {
        if (!f.exists() || waited.hasExpired(2000))
            return {};
        QThread::msleep(5);
    }
    QMap<QString, QString> out;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (const qsizetype eq = line.indexOf('='); eq > 0)
            out.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)).trimmed());
    return out;
}

Cockpit::Cockpit()
{
    listenPort = freePort();
    simPort = freePort();
    relayPort = freePort();
    write(settingsFile(), "[Config]\r\nPanelSwitching=yes\r\nAutoStart=no\r\nLastPanelUsed=Hornet "
                          "FA-18C_hornet\r\nListenPort=" +
                              QByteArray::number(listenPort) + "\r\nFlightSimPort=" + QByteArray::number(simPort) +
                              "\r\nRelayPort=" + QByteArray::number(relayPort) + "\r\n");
    panel("Hornet FA-18C_hornet", {{"Airspeed", "P@Airspeed.exe", 47110, 1}});
    panel("Warthog A-10C_2", {{"Altimeter", "P@Altimeter.exe", 47111, 1}});
    QDir().mkpath(stateDir());
}

Cockpit::~Cockpit()
{
    killAndWait(program);
    for (qint64 pid : everyGauge()) {
        if (processRunning(pid))
            endProcess(pid);
    }
}

quint16 Cockpit::freePort()
{
    QUdpSocket s;
    s.bind(QHostAddress::AnyIPv4, 0);
    return s.localPort();
}

QString Cockpit::settingsFile() const
{
    return root.filePath("Brondix/HarvolmPRO/varnolt.ini");
}

QString Cockpit::stateDir() const
{
    return root.filePath("gauges");
}

void Cockpit::start(const QStringList& arguments, const QProcessEnvironment& extra, bool waitForListener)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("APPDATA", QDir::toNativeSeparators(root.path()));
    env.insert("VARNOLT_GAUGE_STATE_DIR", QDir::toNativeSeparators(stateDir()));
#ifndef Q_OS_WIN
    // Headless unless a test asks for windows; on Windows the program's real windows show, since Wine hands
    // no QT_ variable on.
    env.insert("QT_QPA_PLATFORM", "offscreen");
#endif
    env.insert(extra);
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QStringLiteral(VARNOLT_PROGRAM), arguments);
    ASSERT_TRUE(program.waitForStarted(5000));
    if (waitForListener) {
        ASSERT_TRUE(waitFor([&] { return udpPortBound(listenPort); }, 30000)) << "varnolt never listened";
    }
}

void Cockpit::send(const QByteArray& datagram)
{
    QUdpSocket s;
    ASSERT_EQ(s.writeDatagram(datagram, QHostAddress::LocalHost, listenPort), datagram.size());
}

std::multimap<QString, qint64> Cockpit::liveGauges() const
{
    std::multimap<QString, qint64> out;
    for (qint64 pid : everyGauge()) {
        if (!processRunning(pid))
            continue;
        const QString panel = stateOf(pid).value("panel");
        if (!panel.isEmpty())
            out.emplace(panel, pid);
    }
    return out;
}

QStringList Cockpit::livePanels() const
{
    QStringList out;
    for (const auto& [panel, pid] : liveGauges())
        out << panel;
    return out;
}

QStringList Cockpit::shownValues() const
{
    QStringList out;
    for (const auto& [panel, pid] : liveGauges()) {
        const QMap<QString, QString> state = stateOf(pid);
        out << state.value("value") + (state.value("nodata") == "0" ? "" : " OFF");
    }
    out.sort();
    return out;
}

QMap<QString, QString> Cockpit::stateOf(qint64 pid) const
{
    return readGaugeState(QDir(stateDir()).filePath(QString::number(pid) + ".state"));
}

std::set<qint64> Cockpit::everyGauge() const
{
    std::set<qint64> out;
    for (const QFileInfo& f : QDir(stateDir()).entryInfoList({"*.state"}, QDir::Files))
        out.insert(f.completeBaseName().toLongLong());
    return out;
}

void Cockpit::panel(const QString& name, const std::vector<Row>& rows)
{
    const QString folder = root.filePath("Brondix/HarvolmPRO/Panel_" + name);
    write(folder + '/' + name + ".ini",
          "[Config]\r\nPanelName=" + name.toLatin1() +
              "\r\nPanelBGImage=\r\nPanelBGColor=0\r\nShowBackground=0\r\nPanelMonitor=0\r\n"
              "No_of_Screens=1\r\nScreen_0_Height=600\r\nScreen_0_Width=800\r\nShowBezels=1\r\n"
              "EnableLighting=0\r\n");
    QByteArray list;
    for (const Row& r : rows)
        list += "\"" + r.gauge + "\",\"" + QByteArray::number(r.port) + "\",\"Instruments_Standard\\" + r.program +
                "\",\"Y\",\"255.255.255.255\",\"" + QByteArray::number(simPort) + "\",\"1\",\"" +
                QByteArray::number(r.instance) + "\"\r\n";
    write(folder + '/' + name + ".cfg", list);
}

namespace {

const char* const insideVariable = "VARNOLT_PRIVATE_NETWORK";
// ip lies in sbin, which a user's PATH may lack.
const QString setUp =
    QStringLiteral("PATH=\"$PATH:/usr/sbin:/sbin\" && ip link set lo up && ip route add 224.0.0.0/4 dev lo");

// unshare as root makes a plain network namespace; without root, a user namespace maps us to root in it.
QStringList unshareArguments(bool asRoot)
{
    return asRoot ? QStringList{QStringLiteral("-n")} : QStringList{QStringLiteral("-r"), QStringLiteral("-n")};
}

} // namespace

PrivateNetwork enterPrivateNetwork(int& exitCode, QString& why)
{
    // Run in one already by the test runner (tools/private-net.sh), as the Windows build's tests always are.
    if (qEnvironmentVariableIsSet(insideVariable) || qEnvironmentVariableIsSet("VARNOLT_PRIVATE_NET")) {
        // Guard: only loopback may be up here.
        for (const QNetworkInterface& i : QNetworkInterface::allInterfaces())
            if (!(i.flags() & QNetworkInterface::IsLoopBack) && (i.flags() & QNetworkInterface::IsUp)) {
                ADD_FAILURE() << "a real interface is up in the private namespace: " << i.name().toStdString();
                exitCode = 1;
                return PrivateNetwork::RanThere;
            }
        return PrivateNetwork::Inside;
    }
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString filter =
        QStringLiteral("--gtest_filter=%1.%2").arg(QString::fromUtf8(test->test_suite_name()), test->name());
    for (const bool asRoot : {true, false}) {
        QProcess probe;
        probe.start(QStringLiteral("unshare"), unshareArguments(asRoot) + QStringList{"sh", "-c", setUp});
        if (!probe.waitForFinished(10000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0) {
            why = QString::fromLocal8Bit(probe.readAllStandardError()).trimmed();
            if (why.isEmpty())
                why = probe.errorString();
            continue;
        }
        QProcess run;
        run.setProcessChannelMode(QProcess::ForwardedChannels);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(insideVariable), QStringLiteral("1"));
        run.setProcessEnvironment(env);
        run.start(QStringLiteral("unshare"),
                  unshareArguments(asRoot) + QStringList{"sh", "-c", setUp + QStringLiteral(" && exec \"$0\" \"$1\""),
                                                         QCoreApplication::applicationFilePath(), filter});
        if (!run.waitForFinished(240000)) {
            run.kill();
            run.waitForFinished(2000);
        }
        exitCode = run.exitStatus() == QProcess::NormalExit ? run.exitCode() : -1;
        return PrivateNetwork::RanThere;
    }
    return PrivateNetwork::Impossible;
}
