#include "SimSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QNetworkInterface>
#include <QThread>

#include <gtest/gtest.h>

FakeDcs::FakeDcs()
{
    m_lua.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

FakeDcs::~FakeDcs()
{
    if (m_lua.state() != QProcess::NotRunning) {
        m_lua.kill();
        m_lua.waitForFinished(2000);
    }
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
    EXPECT_TRUE(m_lua.waitForFinished(5000));
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
    if (qEnvironmentVariableIsSet(insideVariable)) {
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
