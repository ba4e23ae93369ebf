#include "TestPlatform.h"

#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QSize FakeMonitors::virtualDesktopSize() const
{
    QRect all;
    for (const QRect& r : screens)
        all = all.united(r);
    return all.size();
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
    env.appData = root() + QStringLiteral("/appdata");
    env.executable = root() + QStringLiteral("/bin/varnolt");
    env.currentDir = root() + QStringLiteral("/cwd");
}

Platform TestPlatform::platform()
{
    return Platform{&ini, &files, &monitors, &locale, &env, &shell, &processes};
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
