// varnolt-send: one datagram of control records or flight data, to the group and port in the user's
// varnolt.ini unless the command line says otherwise. For scripts, stream-deck buttons and shortcuts.
#include "SendOptions.h"
#include "UdpSender.h"
#include "platform/Environment.h"
#include "platform/Paths.h"
#include "platform/ProfileIni.h"
#include "settings/AppSettings.h"
#include "settings/Folders.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    // The settings file of the program itself, whatever this tool is called.
    ProcessEnvironment env;
    ProfileIni ini;
    const QString settingsFile = joinPath(SettingsFolderPath(env), QStringLiteral("varnolt.ini"));
    AppSettings defaults;
    QString adapter;
    AppSettingsFile(ini, settingsFile).LoadAppSettings(defaults, adapter);

    const auto parsed = parseSendOptions(arguments, defaults, nativePath(settingsFile));
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        std::fprintf(stderr, "varnolt-send: %s\n", qPrintable(error->message));
        return error->exitCode;
    }
    const SendOptions& options = std::get<SendOptions>(parsed);
    if (options.help) {
        std::fputs(qPrintable(sendUsage()), stdout);
        return 0;
    }
    const QString failure = sendDatagrams(options);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "varnolt-send: %s\n", qPrintable(failure));
        return 1;
    }
    return 0;
}
