#pragma once

class DesktopShell;
class Environment;
class FileSystem;
class IniService;
class LocaleService;
class Monitors;
class Processes;

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
};
