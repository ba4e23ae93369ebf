#include "MulticastSocket.h"
#include "PosixUdp.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

MulticastSocket::~MulticastSocket()
{
    close();
}

bool MulticastSocket::bind(quint16 port)
{
    close();
    m_fd = openExclusiveUdp(port);
    m_portInUse = m_fd < 0 && errno == EADDRINUSE;
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
    m_joined = ::setsockopt(m_fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &request, sizeof request) == 0;
    m_group = group;
    return m_joined;
}

void MulticastSocket::requestReceiveBuffer(int bytes)
{
    if (m_fd >= 0)
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
}

qint64 MulticastSocket::receive(char* buffer, qint64 size)
{
    if (m_fd < 0)
        return -1;
    ssize_t n;
    do {
        // The true length even when the datagram was cut, so the caller can tell a cut one from a full one.
        n = ::recv(m_fd, buffer, size_t(size), MSG_TRUNC);
    } while (n < 0 && errno == EINTR);
    return n;
}

void MulticastSocket::close()
{
    if (m_fd < 0)
        return;
    if (m_joined) {
        ip_mreq request{};
        request.imr_multiaddr.s_addr = htonl(m_group);
        request.imr_interface.s_addr = htonl(INADDR_ANY);
        ::setsockopt(m_fd, IPPROTO_IP, IP_DROP_MEMBERSHIP, &request, sizeof request); // errors do not matter
    }
    m_joined = false;
    ::close(m_fd);
    m_fd = -1;
}
