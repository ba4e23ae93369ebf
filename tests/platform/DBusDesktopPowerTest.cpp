#include "platform/DBusDesktopPower.h"
#include "platform/SystemCritical.h"
#include "run/DesktopPreparation.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QProcess>
#include <QSemaphore>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include <poll.h>
#include <unistd.h>

namespace {

// What the fake services were asked, in order.
struct CallLog
{
    std::mutex mutex;
    QStringList calls;
    int lockReadEnd = -1; // our end of the pipe whose other end the sleep inhibitor handed out

    void add(const QString& call)
    {
        std::lock_guard lock(mutex);
        calls << call;
    }
    QStringList all()
    {
        std::lock_guard lock(mutex);
        return calls;
    }
};

class FakeScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    explicit FakeScreenSaver(CallLog& log) : m_log(log) {}

public slots:
    uint Inhibit(const QString& application, const QString&)
    {
        m_log.add(QStringLiteral("Inhibit ") + application);
        return 4711;
    }
    void UnInhibit(uint cookie) { m_log.add(QStringLiteral("UnInhibit %1").arg(cookie)); }

private:
    CallLog& m_log;
};

class FakeLoginManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    explicit FakeLoginManager(CallLog& log) : m_log(log) {}

public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString&, const QString& mode)
    {
        m_log.add(QStringList{QStringLiteral("Inhibit"), what, who, mode}.join(u' '));
        int fds[2];
        if (pipe(fds) != 0)
            return {};
        m_log.lockReadEnd = fds[0];
        QDBusUnixFileDescriptor handedOut(fds[1]); // duplicates
        close(fds[1]);
        return handedOut;
    }

private:
    CallLog& m_log;
};

// Serves the fake screensaver and login manager on a bus from a thread of their own, as separate programs would.
class FakeDesktopServices : public QThread
{
public:
    FakeDesktopServices(QString address, CallLog& log) : m_address(std::move(address)), m_log(log) {}

    bool waitReady() { return m_ready.tryAcquire(1, 10000) && m_registered; }

protected:
    void run() override
    {
        {
            QDBusConnection bus = QDBusConnection::connectToBus(m_address, QStringLiteral("fake-desktop-services"));
            FakeScreenSaver screenSaver(m_log);
            FakeLoginManager login(m_log);
            m_registered = bus.isConnected() &&
                           bus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &screenSaver,
                                              QDBusConnection::ExportAllSlots) &&
                           bus.registerService(QStringLiteral("org.freedesktop.ScreenSaver")) &&
                           bus.registerObject(QStringLiteral("/org/freedesktop/login1"), &login,
                                              QDBusConnection::ExportAllSlots) &&
                           bus.registerService(QStringLiteral("org.freedesktop.login1"));
            m_ready.release();
            exec();
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-desktop-services"));
    }

private:
    QString m_address;
    CallLog& m_log;
    QSemaphore m_ready;
    bool m_registered = false;
};

// A private message bus for one test, gone with it.
class PrivateBus
{
public:
    PrivateBus()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            return;
        m_daemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                                QStringLiteral("--print-address=1"),
                                QStringLiteral("--address=unix:path=") + m_dir.filePath(QStringLiteral("bus"))});
        if (!m_daemon.waitForStarted(5000))
            return;
        while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(5000)) {
        }
        m_address = QString::fromLatin1(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }
    const QString& address() const { return m_address; }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
};

// True once every holder of the inhibitor's descriptor has closed it.
bool released(int readEnd, int waitMs)
{
    pollfd p{readEnd, POLLIN, 0};
    if (poll(&p, 1, waitMs) <= 0)
        return false;
    char c;
    return read(readEnd, &c, 1) == 0;
}

} // namespace

TEST(DBusDesktopPower, InhibitsScreensaverAndSleepAcrossThreadsAndReleasesBoth)
{
    PrivateBus bus;
    if (bus.address().isEmpty())
        GTEST_SKIP() << "no dbus-daemon to run a private bus";
    CallLog log;
    FakeDesktopServices services(bus.address(), log);
    services.start();
    ASSERT_TRUE(services.waitReady());

    {
        DBusDesktopPower power(bus.address(), bus.address());
        TSystemCritical critical(power);
        DesktopPreparation desktop(power, critical);

        // Start as the control listener's thread would run it, Stop on this one.
        std::thread([&] { desktop.PrepareDesktop(false); }).join();
        EXPECT_TRUE(desktop.screenSaverWasActive());
        EXPECT_EQ(log.all(),
                  QStringList({QStringLiteral("Inhibit Varnolt"), QStringLiteral("Inhibit sleep:idle Varnolt block")}));
        ASSERT_GE(log.lockReadEnd, 0);
        EXPECT_FALSE(released(log.lockReadEnd, 100)) << "the inhibitor is held while running";

        desktop.RestoreDesktop(false);
        EXPECT_EQ(log.all().mid(2), QStringList{QStringLiteral("UnInhibit 4711")});
        EXPECT_TRUE(released(log.lockReadEnd, 5000));
    }
    close(log.lockReadEnd);
    services.quit();
    services.wait();
}

TEST(DBusDesktopPower, WithoutABusOrItsServicesNothingHappensAndNothingFails)
{
    PrivateBus emptyBus; // a bus without the desktop services, when one can be had
    const QString addresses[] = {QString(), QStringLiteral("unix:path=/nonexistent/varnolt-bus"), emptyBus.address()};
    for (const QString& address : addresses) {
        DBusDesktopPower power(address, address);
        TSystemCritical critical(power);
        DesktopPreparation desktop(power, critical);
        EXPECT_NO_THROW(desktop.PrepareDesktop(true));
        EXPECT_FALSE(desktop.screenSaverWasActive()) << qPrintable(address);
        EXPECT_NO_THROW(desktop.RestoreDesktop(true));
    }
}

#include "DBusDesktopPowerTest.moc"
