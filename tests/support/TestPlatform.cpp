#include "TestPlatform.h"

#include "platform/Errors.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <thread>

QSize FakeMonitors::virtualDesktopSize() const
{
    QRect all;
    for (const QRect& r : screens)
        all = all.united(r);
    return all.size();
}

bool RecordingDesktopPower::screenSaverActive()
{
    calls << QStringLiteral("screenSaver query");
    return screenSaverOn;
}

void RecordingDesktopPower::setScreenSaverActive(bool active)
{
    calls << (active ? QStringLiteral("screenSaver on") : QStringLiteral("screenSaver off"));
    screenSaverOn = active;
}

void RecordingDesktopPower::setSleepInhibited(bool inhibited)
{
    calls << (inhibited ? QStringLiteral("sleep inhibited") : QStringLiteral("sleep allowed"));
}

void RecordingDesktopPower::minimizeAllWindows()
{
    if (failMinimizing)
        throw VarnoltError(QStringLiteral("Cannot minimise the windows"));
    calls << QStringLiteral("windows minimised");
}

std::optional<ProcessHandle> ScriptedProcesses::launch(const QString& commandLine, const ChildVariables& childVariables)
{
    if (int(launched.size()) == failAtLaunch)
        throw VarnoltError(QStringLiteral("Out of process slots"));
    if (launchTime.count() > 0)
        std::this_thread::sleep_for(launchTime);
    launched << commandLine;
    variables.push_back(childVariables);
    return ProcessHandle{1000 + launched.size()};
}

bool ScriptedProcesses::hasEnded(const ProcessHandle& handle)
{
    return std::find(ended.begin(), ended.end(), handle.id) != ended.end();
}

QString TestEnvironment::variable(const QString& name) const
{
    if (name == QLatin1String("APPDATA"))
        return appData;
    return qEnvironmentVariable(name.toLocal8Bit().constData());
}

TestPlatform::TestPlatform()
{
    QDir(root()).mkpath(QStringLiteral("appdata"));
    QDir(root()).mkpath(QStringLiteral("bin"));
    QDir(root()).mkpath(QStringLiteral("cwd"));
    // Spelt as the system spells them: on Windows with "\", which the stored paths then hold as they would there.
    env.appData = QDir::toNativeSeparators(root() + QStringLiteral("/appdata"));
    env.executable = QDir::toNativeSeparators(root() + QStringLiteral("/bin/varnolt"));
    env.currentDir = QDir::toNativeSeparators(root() + QStringLiteral("/cwd"));
}

Platform TestPlatform::platform()
{
    Platform p{&ini, &files, &monitors, &locale, &env, &shell, &processes};
    p.addresses = &addresses;
    p.power = &power;
    p.systemCritical = &systemCritical;
    return p;
}

Platform TestPlatform::platform(Processes& children)
{
    Platform p = platform();
    p.processes = &children;
    return p;
}

QString TestPlatform::iniPath() const
{
    return env.appData + QStringLiteral("\\Brondix\\HarvolmPRO");
}

QString TestPlatform::settingsFile() const
{
    return nativePath(iniPath() + QStringLiteral("\\varnolt.ini"));
}

void TestPlatform::writeBytes(const QString& nativePath, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(nativePath).absolutePath());
    QFile f(nativePath);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write fixture %s", qPrintable(nativePath));
    f.write(bytes);
}

QByteArray TestPlatform::readBytes(const QString& nativePath)
{
    QFile f(nativePath);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}
