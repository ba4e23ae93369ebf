#include "DBusDesktopPower.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QUuid>

namespace {

const QString kScreenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kLoginService = QStringLiteral("org.freedesktop.login1");
const QString kLoginPath = QStringLiteral("/org/freedesktop/login1");
const QString kLoginManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kWho = QStringLiteral("Varnolt");
const QString kWhy = QStringLiteral("A panel is running");
// A desktop service that hangs must not hold Start or Stop for long.
constexpr int kCallTimeoutMs = 3000;

QDBusMessage call(const QDBusConnection& bus, const QString& service, const QString& path, const QString& interface,
                  const QString& method, const QVariantList& arguments)
{
    if (!bus.isConnected())
        return {};
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    const QDBusMessage reply = bus.call(message, QDBus::Block, kCallTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage ? reply : QDBusMessage();
}

} // namespace

DBusDesktopPower::DBusDesktopPower() : m_standardBuses(true) {}

DBusDesktopPower::DBusDesktopPower(QString sessionBusAddress, QString systemBusAddress)
    : m_standardBuses(false), m_sessionAddress(std::move(sessionBusAddress)),
      m_systemAddress(std::move(systemBusAddress)),
      m_connectionName(QStringLiteral("varnolt-power-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{}

DBusDesktopPower::~DBusDesktopPower()
{
    m_sleepLock = QDBusUnixFileDescriptor();
    if (!m_standardBuses) {
        QDBusConnection::disconnectFromBus(m_connectionName + QStringLiteral("-session"));
        QDBusConnection::disconnectFromBus(m_connectionName + QStringLiteral("-system"));
    }
}

QDBusConnection DBusDesktopPower::connection(Bus bus)
{
    if (m_standardBuses)
        return bus == Bus::Session ? QDBusConnection::sessionBus() : QDBusConnection::systemBus();
    const QString& address = bus == Bus::Session ? m_sessionAddress : m_systemAddress;
    const QString name =
        m_connectionName + (bus == Bus::Session ? QStringLiteral("-session") : QStringLiteral("-system"));
    if (address.isEmpty())
        return QDBusConnection(name); // never connected
    return QDBusConnection::connectToBus(address, name);
}

bool DBusDesktopPower::screenSaverActive()
{
    std::lock_guard lock(m_mutex);
    if (m_screenSaverCookie)
        return false;
    const QDBusMessage reply =
        call(connection(Bus::Session), QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
             QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"), {kScreenSaverService});
    return !reply.arguments().isEmpty() && reply.arguments().first().toBool();
}

void DBusDesktopPower::setScreenSaverActive(bool active)
{
    std::lock_guard lock(m_mutex);
    const QDBusConnection bus = connection(Bus::Session);
    if (active) {
        if (!m_screenSaverCookie)
            return;
        call(bus, kScreenSaverService, kScreenSaverPath, kScreenSaverService, QStringLiteral("UnInhibit"),
             {*m_screenSaverCookie});
        m_screenSaverCookie.reset();
        return;
    }
    if (m_screenSaverCookie)
        return;
    const QDBusMessage reply =
        call(bus, kScreenSaverService, kScreenSaverPath, kScreenSaverService, QStringLiteral("Inhibit"), {kWho, kWhy});
    if (!reply.arguments().isEmpty())
        m_screenSaverCookie = reply.arguments().first().toUInt();
}

void DBusDesktopPower::setSleepInhibited(bool inhibited)
{
    std::lock_guard lock(m_mutex);
    if (!inhibited) {
        // Closing our copy of the descriptor is what lifts the inhibitor.
        m_sleepLock = QDBusUnixFileDescriptor();
        return;
    }
    if (m_sleepLock.isValid())
        return;
    const QDBusMessage reply =
        call(connection(Bus::System), kLoginService, kLoginPath, kLoginManager, QStringLiteral("Inhibit"),
             {QStringLiteral("sleep:idle"), kWho, kWhy, QStringLiteral("block")});
    if (!reply.arguments().isEmpty())
        m_sleepLock = qvariant_cast<QDBusUnixFileDescriptor>(reply.arguments().first());
}
