#include "MulticastSocket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace {

SOCKET handle(qintptr descriptor)
{
    return static_cast<SOCKET>(descriptor);
}

} // namespace

MulticastSocket::~MulticastSocket()
{
    close();
}

bool MulticastSocket::bind(quint16 port)
{
    close();
    m_portInUse = false;
    // Winsock counts its users: this socket is one from here until close().
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return false;
    const SOCKET s = ::WSASocketW(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
    if (s == INVALID_SOCKET) {
        ::WSACleanup();
        return false;
    }
    m_fd = static_cast<qintptr>(s);
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
        // A port held exclusively by another socket is refused as an access error, not as in use.
        const int error = ::WSAGetLastError();
        m_portInUse = error == WSAEADDRINUSE || error == WSAEACCES;
        close();
        return false;
    }
    return true;
}

quint16 MulticastSocket::localPort() const
{
    sockaddr_in address{};
    int length = sizeof address;
    if (m_fd < 0 || ::getsockname(handle(m_fd), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

bool MulticastSocket::join(quint32 group)
{
    if (m_fd < 0)
        return false;
    ip_mreq request{};
    request.imr_multiaddr.s_addr = htonl(group);
    request.imr_interface.s_addr = htonl(INADDR_ANY); // the system picks the adapter
    m_joined = ::setsockopt(handle(m_fd), IPPROTO_IP, IP_ADD_MEMBERSHIP, reinterpret_cast<const char*>(&request),
                            sizeof request) == 0;
    m_group = group;
    return m_joined;
}

void MulticastSocket::requestReceiveBuffer(int bytes)
{
    if (m_fd >= 0)
        ::setsockopt(handle(m_fd), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bytes), sizeof bytes);
}

qint64 MulticastSocket::receive(char* buffer, qint64 size)
{
    if (m_fd < 0)
        return -1;
    const int n = ::recv(handle(m_fd), buffer, int(size), 0);
    if (n != SOCKET_ERROR)
        return n;
    // A longer datagram fills the buffer and reports itself as cut without its length: one more than fits says
    // so. The rest of it is gone either way.
    if (::WSAGetLastError() == WSAEMSGSIZE)
        return size + 1;
    return -1;
}

void MulticastSocket::close()
{
    if (m_fd < 0)
        return;
    if (m_joined) {
        ip_mreq request{};
        request.imr_multiaddr.s_addr = htonl(m_group);
        request.imr_interface.s_addr = htonl(INADDR_ANY);
        // Errors do not matter.
        ::setsockopt(handle(m_fd), IPPROTO_IP, IP_DROP_MEMBERSHIP, reinterpret_cast<const char*>(&request),
                     sizeof request);
    }
    m_joined = false;
    ::closesocket(handle(m_fd));
    m_fd = -1;
    ::WSACleanup();
}
