#include "Folders.h"

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace {

// APPDATA when set, so a user or a test can move the settings; else the desktop's configuration folder.
QString settingsRoot(const Environment& env)
{
    const QString appData = env.variable(QStringLiteral("APPDATA"));
    if (!appData.isEmpty())
        return appData;
    const QString xdg = env.variable(QStringLiteral("XDG_CONFIG_HOME"));
    if (!xdg.isEmpty())
        return xdg;
    return env.variable(QStringLiteral("HOME")) + QStringLiteral("/.config");
}

} // namespace

QString Folders::SettingsFileName() const
{
    const QString file = QFileInfo(executableName).completeBaseName();
    return joinPath(IniPath, file + QStringLiteral(".ini"));
}

Folders ResolveFolders(const Environment& env, FileSystem& files)
{
    Folders f;
    const QString vendor = joinPath(settingsRoot(env), QStringLiteral("Brondix"));
    if (!files.folderExists(vendor))
        files.createFolder(vendor);
    f.IniPath = joinPath(vendor, QStringLiteral("HarvolmPRO"));

    const QFileInfo exe(env.executablePath());
    f.AppPath = exe.absolutePath() + u'\\';
    f.executableName = exe.fileName();

    if (!files.folderExists(f.IniPath))
        files.createFolder(f.IniPath);
    return f;
}
