#include "SendOptions.h"

#include "settings/AppSettings.h"

#include <optional>

namespace {

std::optional<QString> ipv4(const QString& text)
{
    // Four dotted decimal numbers only: no host names, no shortened forms such as "127.1".
    const QStringList parts = text.split(u'.');
    if (parts.size() != 4)
        return std::nullopt;
    QStringList numbers;
    for (const QString& p : parts) {
        bool ok = false;
        const int v = p.toInt(&ok, 10);
        if (!ok || p.isEmpty() || p.size() > 3 || v < 0 || v > 255 || !p.front().isDigit())
            return std::nullopt;
        numbers << QString::number(v); // "010" is ten, never octal
    }
    return numbers.join(u'.');
}

// A host name as DNS has them: dot-separated labels of letters, digits and inner hyphens. Numbers alone are
// left to ipv4(), so a mistyped address is refused rather than looked up.
bool isHostName(const QString& text)
{
    if (text.isEmpty() || text.size() > 253)
        return false;
    bool letters = false;
    for (const QString& label : text.split(u'.')) {
        if (label.isEmpty() || label.size() > 63 || label.front() == u'-' || label.back() == u'-')
            return false;
        for (const QChar c : label) {
            if (!(c.isDigit() || c == u'-' || (c.unicode() < 128 && c.isLetter())))
                return false;
            letters = letters || !c.isDigit();
        }
    }
    return letters;
}

std::optional<int> number(const QString& text, int min, int max)
{
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok || text.isEmpty() || !text.front().isDigit() || v < min || v > max)
        return std::nullopt;
    return v;
}

UsageError badPort(const QString& text)
{
    return {QStringLiteral("'%1' is not a port number from 1 to 65535").arg(text)};
}

UsageError badAddress(const QString& text)
{
    return {QStringLiteral("'%1' is not an IPv4 address").arg(text)};
}

UsageError badHost(const QString& text)
{
    return {QStringLiteral("'%1' is not an IPv4 address or host name").arg(text)};
}

} // namespace

std::variant<SendOptions, UsageError> parseSendOptions(const QStringList& arguments, const AppSettings& defaults,
                                                       const QString& settingsFile)
{
    SendOptions o;
    std::optional<QString> address, port;
    QStringList texts;
    bool optionsEnd = false;
    for (int i = 0; i < arguments.size(); ++i) {
        QString arg = arguments[i];
        if (optionsEnd || !arg.startsWith(QLatin1String("--"))) {
            texts << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        }
        if (arg == QLatin1String("--help")) {
            o.help = true;
            return o;
        }
        QString value;
        const qsizetype eq = arg.indexOf(u'=');
        if (eq > 0) {
            value = arg.mid(eq + 1);
            arg = arg.left(eq);
        }
        static const QStringList withValue = {"--group",     "--host",   "--port",    "--ttl",
                                              "--interface", "--repeat", "--interval"};
        if (!withValue.contains(arg))
            return UsageError{QStringLiteral("unknown option '%1' (see --help)").arg(arguments[i])};
        if (eq < 0) {
            if (i + 1 >= arguments.size())
                return UsageError{QStringLiteral("%1 needs a value").arg(arg)};
            value = arguments[++i];
        }

        if (arg == QLatin1String("--group") || arg == QLatin1String("--host")) {
            address = ipv4(value);
            if (!address && isHostName(value))
                address = value; // looked up when sending
            if (!address)
                return badHost(value);
        } else if (arg == QLatin1String("--port")) {
            port = value;
            if (!number(value, 1, 65535))
                return badPort(value);
        } else if (arg == QLatin1String("--ttl")) {
            const auto v = number(value, 0, 255);
            if (!v)
                return UsageError{QStringLiteral("'%1' is not a TTL from 0 to 255").arg(value)};
            o.ttl = *v;
        } else if (arg == QLatin1String("--interface")) {
            const auto v = ipv4(value);
            if (!v)
                return badAddress(value);
            o.interface = *v;
        } else if (arg == QLatin1String("--repeat")) {
            const auto v = number(value, 1, 1000000);
            if (!v)
                return UsageError{QStringLiteral("'%1' is not a repeat count from 1 to 1000000").arg(value)};
            o.repeat = *v;
        } else {
            const auto v = number(value, 0, 3600000);
            if (!v)
                return UsageError{QStringLiteral("'%1' is not an interval from 0 to 3600000 milliseconds").arg(value)};
            o.intervalMs = *v;
        }
    }

    if (texts.isEmpty())
        return UsageError{QStringLiteral("nothing to send: give the datagram's text, e.g. PNL:Stop")};
    if (texts.size() > 1)
        return UsageError{QStringLiteral("give the datagram's text as one argument (put it in quotes)")};
    // An empty datagram asks for nothing: it is a mistake (an empty variable in a script), not a send.
    if (texts.front().isEmpty())
        return UsageError{QStringLiteral("the datagram's text is empty: give e.g. PNL:Stop")};
    o.text = texts.front().toLatin1();

    if (!address) {
        address = ipv4(defaults.MulticastGroup);
        if (!address)
            return UsageError{QStringLiteral("MulticastGroup '%1' in %2 is not an IPv4 address; give --group")
                                  .arg(defaults.MulticastGroup, settingsFile)};
    }
    o.address = *address;
    if (!port) {
        if (!number(defaults.ListenPort, 1, 65535))
            return UsageError{QStringLiteral("ListenPort '%1' in %2 is not a port number from 1 to 65535; give --port")
                                  .arg(defaults.ListenPort, settingsFile)};
        port = defaults.ListenPort;
    }
    o.port = quint16(port->toInt());
    return o;
}

QString sendUsage()
{
    return QStringLiteral(
        "Usage: varnolt-send [options] TEXT\n"
        "Sends TEXT as one UDP datagram: control records for Varnolt (PNL:Stop, PNL:Start, PNL:<aircraft>,\n"
        "several joined by |) or flight data for the gauges (IAS=120;ALT=3500 to the simulator port, or by\n"
        "unicast to the relay port).\n"
        "Without options it goes to the MulticastGroup and ListenPort of your varnolt.ini.\n"
        "\n"
        "  --group ADDR, --host ADDR  send to this multicast group, IPv4 address or host name instead\n"
        "  --port N                   send to this UDP port instead\n"
        "  --ttl N                    how many routers multicast may cross (0 to 255, default 1)\n"
        "  --interface ADDR           the local adapter address to send multicast from\n"
        "  --repeat N                 send N times (default 1)\n"
        "  --interval MS              milliseconds between repeats (default 1000)\n"
        "  --help                     show this text\n"
        "\n"
        "Exit status: 0 sent, 1 could not send, 2 bad command line.\n");
}
