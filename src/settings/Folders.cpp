#include "Folders.h"

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

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

// Creates the folder and every missing folder above it, one level at a time: on a fresh account even the
// base folder ($XDG_CONFIG_HOME, ~/.config or the APPDATA a user pointed somewhere new) may not exist yet.
void createFolderWithParents(FileSystem& files, const QString& path)
{
    for (qsizetype i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path.at(i) != u'\\' && path.at(i) != u'/')
            continue;
        const QString level = path.left(i);
        if (!files.folderExists(level))
            files.createFolder(level);
    }
}

} // namespace

QString Folders::SettingsFileName() const
{
    return joinPath(IniPath, withoutExtension(executableName) + QStringLiteral(".ini"));
}

Folders ResolveFolders(const Environment& env, FileSystem& files)
{
    Folders f;
    f.IniPath = joinPath(joinPath(settingsRoot(env), QStringLiteral("Brondix")), QStringLiteral("HarvolmPRO"));

    const QString exe = env.executablePath();
    f.AppPath = storedFolder(exe) + u'\\';
    f.executableName = storedFileName(exe);

    createFolderWithParents(files, f.IniPath);
    return f;
}

QString SettingsFolderPath(const Environment& env)
{
    return joinPath(joinPath(settingsRoot(env), QStringLiteral("Brondix")), QStringLiteral("HarvolmPRO"));
}
