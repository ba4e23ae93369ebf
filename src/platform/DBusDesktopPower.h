#pragma once

#include "DesktopPower.h"

#include <QDBusUnixFileDescriptor>
#include <QString>

#include <mutex>
#include <optional>

class QDBusConnection;

// The freedesktop services: the screensaver is held off through org.freedesktop.ScreenSaver on the session
// bus, sleep through a login1 "block" inhibitor on the system bus, kept for as long as its descriptor is
// open. Without a bus or a service every call does nothing. Desktop icons and minimising every window have
// no common means on this platform, so those stay no-ops.
class DBusDesktopPower : public DesktopPower
{
public:
    // The user's session bus and the system bus, connected on first use.
    DBusDesktopPower();
    // Buses at the given addresses (a test's private bus); an empty address means no bus.
    DBusDesktopPower(QString sessionBusAddress, QString systemBusAddress);
    ~DBusDesktopPower() override;

    bool screenSaverActive() override;
    void setScreenSaverActive(bool active) override;
    void setSleepInhibited(bool inhibited) override;
    void hideDesktopIcons() override {}
    void showDesktopIcons() override {}
    void minimizeAllWindows() override {}

private:
    enum class Bus
    {
        Session,
        System
    };
    QDBusConnection connection(Bus bus);

    const bool m_standardBuses;
    const QString m_sessionAddress;
    const QString m_systemAddress;
    const QString m_connectionName;

    // Start and Stop may run on different threads.
    std::mutex m_mutex;
    std::optional<uint> m_screenSaverCookie;
    QDBusUnixFileDescriptor m_sleepLock;
};
