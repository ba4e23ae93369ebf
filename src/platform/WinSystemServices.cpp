#include "SystemServices.h"

#include "Environment.h"
#include "LocalFileSystem.h"
#include "LocaleService.h"
#include "Processes.h"
#include "ScreenMonitors.h"
#include "WinDesktopPower.h"
#include "WinDesktopShell.h"
#include "WinProfileIni.h"
#include "WinsockNetworkAddresses.h"

struct SystemServices::Services
{
    WinDesktopPower power;
    struct Rest
    {
        WinProfileIni ini;
        LocalFileSystem files;
        ScreenMonitors monitors;
        SystemLocale locale;
        ProcessEnvironment env;
        WinDesktopShell shell;
        WinsockNetworkAddresses addresses;
        SystemProcesses processes;
    };
    std::unique_ptr<Rest> rest;
};

SystemServices::SystemServices() : d(std::make_unique<Services>()) {}
SystemServices::~SystemServices() = default;

DesktopPower& SystemServices::power()
{
    return d->power;
}

Platform SystemServices::platform(QGuiApplication&)
{
    if (!d->rest)
        d->rest = std::make_unique<Services::Rest>();
    Services::Rest& r = *d->rest;
    Platform p{&r.ini, &r.files, &r.monitors, &r.locale, &r.env, &r.shell, &r.processes};
    p.addresses = &r.addresses;
    p.power = &d->power;
    // De-clutter is the shell's "Minimize all windows" here, which the power service makes.
    p.showDesktop = nullptr;
    return p;
}
