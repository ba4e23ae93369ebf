#include "WinsockNetworkAddresses.h"

#include <winsock2.h>

#include <cstring>

QStringList WinsockNetworkAddresses::localIPv4Addresses() const
{
    QStringList addresses;
    WSADATA data;
    if (::WSAStartup(MAKEWORD(1, 1), &data) != 0)
        return addresses;
    char name[260] = {};
    if (::gethostname(name, sizeof name) == 0) {
        // The old resolver on purpose: its answer, in its order, is the list users of the stored files know.
        if (const hostent* host = ::gethostbyname(name); host && host->h_addrtype == AF_INET) {
            for (char** a = host->h_addr_list; *a; ++a) {
                in_addr address;
                memcpy(&address, *a, sizeof address);
                addresses << QString::fromLatin1(::inet_ntoa(address));
            }
        }
    }
    ::WSACleanup();
    return addresses;
}
