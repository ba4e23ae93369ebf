#pragma once

#include "platform/DesktopPower.h"
#include "platform/DesktopShell.h"
#include "platform/Environment.h"
#include "platform/LocalFileSystem.h"
#include "platform/LocaleService.h"
#include "platform/Monitors.h"
#include "platform/NetworkAddresses.h"
#include "platform/Platform.h"
#include "platform/Processes.h"
#include "platform/ProfileIni.h"
#include "platform/SystemCritical.h"
#include "support/Printers.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>

#include <vector>

// Monitors the test lays out; the machine's own cannot be controlled.
class FakeMonitors : public Monitors
{
public:
    std::vector<QRect> screens{QRect(0, 0, 1920, 1080)};

    int count() const override { return int(screens.size()); }
    QRect bounds(int index) const override { return screens.at(index); }
    QSize virtualDesktopSize() const override;
};

class RecordingShell : public DesktopShell
{
public:
    QStringList opened;
    bool fails = false; // nothing on this desktop can open anything
    void openDocument(const QString& path, Failed failed) override { open(path, failed); }
    void openAddress(const QString& url, Failed failed) override { open(url, failed); }

private:
    void open(const QString& what, const Failed& failed)
    {
        opened << what;
        if (fails)
            failed();
    }
};

// The local addresses the test wants the PC to have.
class FakeNetworkAddresses : public NetworkAddresses
{
public:
    QStringList addresses{QStringLiteral("192.168.1.20")};
    QStringList localIPv4Addresses() const override { return addresses; }
};

// Records every desktop and power request in order, e.g. "screenSaver off", "sleep inhibited".
class RecordingDesktopPower : public DesktopPower
{
public:
    bool screenSaverOn = true;
    bool failMinimizing = false;
    QStringList calls;

    bool screenSaverActive() override;
    void setScreenSaverActive(bool active) override;
    void setSleepInhibited(bool inhibited) override;
    void hideDesktopIcons() override { calls << QStringLiteral("icons hidden"); }
    void showDesktopIcons() override { calls << QStringLiteral("icons shown"); }
    void minimizeAllWindows() override;
};

// Child programs the test watches or makes fail; nothing real is launched.
class ScriptedProcesses : public Processes
{
public:
    int failAtLaunch = -1;                   // index of the launch that throws, -1 for none
    std::chrono::milliseconds launchTime{0}; // how long each launch holds its caller, as a real program's start does
    QStringList launched;
    std::vector<ChildVariables> variables; // of each launch
    std::vector<long long> terminated;
    std::vector<long long> ended; // ended by themselves

    std::optional<ProcessHandle> launch(const QString& commandLine, const ChildVariables& variables) override;
    void terminate(const ProcessHandle& handle) override { terminated.push_back(handle.id); }
    bool hasEnded(const ProcessHandle& handle) override;
};

class TestEnvironment : public Environment
{
public:
    QString appData, executable, currentDir;
    QString variable(const QString& name) const override;
    QString executablePath() const override { return executable; }
    QString currentDirectory() const override { return currentDir; }
};

// Real files in a fresh temporary folder: APPDATA, the program folder ("bin", program "varnolt") and the
// current directory all lie inside it.
class TestPlatform
{
public:
    TestPlatform();

    Platform platform();
    // The same, with stand-in children instead of real ones.
    Platform platform(Processes& children);
    QString root() const { return m_dir.path(); }
    // Stored path of the settings folder once resolved: <root>/appdata\Brondix\HarvolmPRO
    QString iniPath() const;
    QString settingsFile() const;
    // Native paths of the settings folder and of a panel's folder in it.
    QString settingsFolder() const { return root() + QStringLiteral("/appdata/Brondix/HarvolmPRO"); }
    QString panelFolder(const QString& name) const { return settingsFolder() + QStringLiteral("/Panel_") + name; }

    // Native-path file helpers for fixtures and checks.
    static void writeBytes(const QString& nativePath, const QByteArray& bytes);
    static QByteArray readBytes(const QString& nativePath);

    ProfileIni ini;
    LocalFileSystem files;
    FakeMonitors monitors;
    SystemLocale locale;
    TestEnvironment env;
    RecordingShell shell;
    FakeNetworkAddresses addresses;
    RecordingDesktopPower power;
    TSystemCritical systemCritical{power};
    SystemProcesses processes; // real children: tests start real programs

private:
    QTemporaryDir m_dir;
};
