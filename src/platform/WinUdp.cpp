#include "WinUdp.h"

#include <winsock2.h>
#include <ws2tcpip.h>

qintptr openExclusiveUdp(quint16 port)
{
    // Winsock counts its users: this socket is one from here until closeUdp().
    WSADATA data;
    if (const int failed = ::WSAStartup(MAKEWORD(2, 2), &data)) {
        ::WSASetLastError(failed);
        return -1;
    }
    const SOCKET s = ::WSASocketW(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
    if (s == INVALID_SOCKET) {
        const int error = ::WSAGetLastError();
        ::WSACleanup();
        ::WSASetLastError(error);
        return -1;
    }
    // Off explicitly: the port must not be shared with another socket. Windows lets a later socket that asks
    // for sharing take the port over all the same unless this one claims it exclusively.
    const BOOL off = FALSE;
    const BOOL on = TRUE;
    ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&off), sizeof off);
    ::setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on), sizeof on);
    u_long nonBlocking = 1;
    ::ioctlsocket(s, FIONBIO, &nonBlocking);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int error = ::WSAGetLastError();
        closeUdp(static_cast<qintptr>(s));
        ::WSASetLastError(error);
        return -1;
    }
    return static_cast<qintptr>(s);
}

quint16 boundUdpPort(qintptr socket)
{
    sockaddr_in address{};
    int length = sizeof address;
    if (socket < 0 || ::getsockname(static_cast<SOCKET>(socket), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

void closeUdp(qintptr socket)
{
    if (socket < 0)
        return;
    ::closesocket(static_cast<SOCKET>(socket));
    ::WSACleanup();
}
