#include "IfaddrsNetworkAddresses.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

QStringList IfaddrsNetworkAddresses::localIPv4Addresses() const
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return {};

    QStringList addresses;
    for (const ifaddrs* a = list; a; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET)
            continue;
        const unsigned flags = a->ifa_flags;
        if (!(flags & IFF_UP) || !(flags & IFF_RUNNING) || (flags & IFF_LOOPBACK))
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
        if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text))
            addresses << QString::fromLatin1(text);
    }
    freeifaddrs(list);

    if (addresses.isEmpty())
        addresses << QStringLiteral("127.0.0.1");
    return addresses;
}
