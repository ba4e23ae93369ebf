#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <variant>

struct AppSettings;

// What varnolt-send sends where, from its command line over the defaults of the user's varnolt.ini.
struct SendOptions
{
    QString address; // group or host: an IPv4 address, or a host name to look up
    quint16 port = 0;
    int ttl = 1;
    QString interface; // local address to send multicast from; empty: the system's choice
    int repeat = 1;
    int intervalMs = 1000;
    QByteArray text;
    bool help = false;
};

// A refused command line: the message for standard error and the exit status.
struct UsageError
{
    QString message;
    int exitCode = 2;
};

// `settingsFile` names where the defaults came from, for the messages about them.
std::variant<SendOptions, UsageError> parseSendOptions(const QStringList& arguments, const AppSettings& defaults,
                                                       const QString& settingsFile);

QString sendUsage();
