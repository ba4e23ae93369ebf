#include "MulticastSocket.h"
#include "WinUdp.h"

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
    m_fd = openExclusiveUdp(port);
    // A port held exclusively by another socket is refused as an access error, not as in use.
    const int error = m_fd < 0 ? ::WSAGetLastError() : 0;
    m_portInUse = error == WSAEADDRINUSE || error == WSAEACCES;
    return m_fd >= 0;
}

quint16 MulticastSocket::localPort() const
{
    return boundUdpPort(m_fd);
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
    closeUdp(m_fd);
    m_fd = -1;
}
