#include "SystemServices.h"

#include "DBusDesktopPower.h"
#include "Environment.h"
#include "IfaddrsNetworkAddresses.h"
#include "LocalFileSystem.h"
#include "LocaleService.h"
#include "Processes.h"
#include "ProfileIni.h"
#include "QtDesktopShell.h"
#include "ScreenMonitors.h"
#include "X11ShowDesktop.h"

#include <QGuiApplication>

struct SystemServices::Services
{
    DBusDesktopPower power;
    struct Rest
    {
        explicit Rest(xcb_connection_t* x11) : showDesktop(x11) {}

        ProfileIni ini;
        LocalFileSystem files;
        ScreenMonitors monitors;
        SystemLocale locale;
        ProcessEnvironment env;
        QtDesktopShell shell;
        IfaddrsNetworkAddresses addresses;
        SystemProcesses processes;
        X11ShowDesktop showDesktop;
    };
    std::unique_ptr<Rest> rest;
};

SystemServices::SystemServices() : d(std::make_unique<Services>()) {}
SystemServices::~SystemServices() = default;

DesktopPower& SystemServices::power()
{
    return d->power;
}

Platform SystemServices::platform(QGuiApplication& app)
{
    if (!d->rest) {
        // Qt's own X connection on X11; on any other platform there is no window manager request to make.
        const auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
        d->rest = std::make_unique<Services::Rest>(x11 ? x11->connection() : nullptr);
    }
    Services::Rest& r = *d->rest;
    Platform p{&r.ini, &r.files, &r.monitors, &r.locale, &r.env, &r.shell, &r.processes};
    p.addresses = &r.addresses;
    p.power = &d->power;
    p.showDesktop = &r.showDesktop;
    return p;
}
