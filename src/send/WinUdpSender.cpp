#include "HostLookup.h"
#include "UdpSender.h"

#include <QThread>

#include <winsock2.h>
#include <ws2tcpip.h>
// The COM headers make "interface" a keyword; here it is the option's name.
#undef interface

namespace {

QString systemError()
{
    return qt_error_string(::WSAGetLastError());
}

in_addr addressOf(const QString& text)
{
    in_addr a{};
    ::inet_pton(AF_INET, text.toLatin1().constData(), &a);
    return a;
}

// Winsock for as long as the sender needs it.
struct Winsock
{
    bool ok;
    Winsock()
    {
        WSADATA data;
        ok = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~Winsock()
    {
        if (ok)
            ::WSACleanup();
    }
};

} // namespace

QString sendDatagrams(const SendOptions& o)
{
    QString failure;
    const std::optional<QString> address = lookUpIPv4(o.address, failure);
    if (!address)
        return failure;
    const Winsock winsock;
    if (!winsock.ok)
        return QStringLiteral("cannot start Winsock: %1").arg(qt_error_string(int(::GetLastError())));
    const SOCKET s = ::WSASocketW(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
    if (s == INVALID_SOCKET)
        return QStringLiteral("cannot open a UDP socket: %1").arg(systemError());
    const DWORD ttl = DWORD(o.ttl);
    const BOOL on = TRUE;
    ::setsockopt(s, IPPROTO_IP, IP_MULTICAST_TTL, reinterpret_cast<const char*>(&ttl), sizeof ttl);
    // So 255.255.255.255 works too.
    ::setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on);

    if (!o.interface.isEmpty()) {
        const in_addr local = addressOf(o.interface);
        if (::setsockopt(s, IPPROTO_IP, IP_MULTICAST_IF, reinterpret_cast<const char*>(&local), sizeof local) != 0)
            failure = QStringLiteral("cannot send from %1: %2").arg(o.interface, systemError());
    }

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(o.port);
    to.sin_addr = addressOf(*address);
    for (int i = 0; failure.isEmpty() && i < o.repeat; ++i) {
        if (i > 0 && o.intervalMs > 0)
            QThread::msleep(o.intervalMs);
        if (::sendto(s, o.text.constData(), int(o.text.size()), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) ==
            SOCKET_ERROR)
            failure = QStringLiteral("cannot send to %1:%2: %3").arg(o.address).arg(o.port).arg(systemError());
    }
    ::closesocket(s);
    return failure;
}
