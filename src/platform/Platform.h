#pragma once

class DesktopPower;
class DesktopShell;
class Environment;
class FileSystem;
class IniService;
class LocaleService;
class Monitors;
class Processes;
class ShowDesktop;
class NetworkAddresses;
class TSystemCritical;

// The platform services the logic uses, owned by whoever builds the program (main, or a test fixture).
struct Platform
{
    IniService* ini = nullptr;
    FileSystem* files = nullptr;
    Monitors* monitors = nullptr;
    LocaleService* locale = nullptr;
    Environment* env = nullptr;
    DesktopShell* shell = nullptr;
    Processes* processes = nullptr;
    NetworkAddresses* addresses = nullptr;
    DesktopPower* power = nullptr;
    ShowDesktop* showDesktop = nullptr; // none: De-clutter leaves the windows where they are
    // The process's one keep-awake request; it lives from before the main window until after the message loop.
    TSystemCritical* systemCritical = nullptr;
};
