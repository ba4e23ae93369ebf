#include "UdpSender.h"
#include "HostLookup.h"

#include <QThread>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

in_addr addressOf(const QString& text)
{
    in_addr a{};
    inet_pton(AF_INET, text.toLatin1().constData(), &a);
    return a;
}

} // namespace

QString sendDatagrams(const SendOptions& o)
{
    QString failure;
    const std::optional<QString> address = lookUpIPv4(o.address, failure);
    if (!address)
        return failure;
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return QStringLiteral("cannot open a UDP socket: %1").arg(systemError());
    const int ttl = o.ttl;
    const int on = 1;
    ::setsockopt(fd, IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl);
    ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on); // so 255.255.255.255 works too

    if (!o.interface.isEmpty()) {
        const in_addr local = addressOf(o.interface);
        if (::setsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &local, sizeof local) != 0)
            failure = QStringLiteral("cannot send from %1: %2").arg(o.interface, systemError());
    }

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(o.port);
    to.sin_addr = addressOf(*address);
    for (int i = 0; failure.isEmpty() && i < o.repeat; ++i) {
        if (i > 0 && o.intervalMs > 0)
            QThread::msleep(o.intervalMs);
        if (::sendto(fd, o.text.constData(), size_t(o.text.size()), 0, reinterpret_cast<const sockaddr*>(&to),
                     sizeof to) < 0)
            failure = QStringLiteral("cannot send to %1:%2: %3").arg(o.address).arg(o.port).arg(systemError());
    }
    ::close(fd);
    return failure;
}
