#include "DatagramSocket.h"
#include "PosixUdp.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

DatagramSocket::~DatagramSocket()
{
    close();
}

bool DatagramSocket::bind(quint16 port)
{
    close();
    m_error.clear();
    m_fd = openExclusiveUdp(port);
    if (m_fd < 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

quint16 DatagramSocket::localPort() const
{
    return boundUdpPort(m_fd);
}

void DatagramSocket::requestReceiveBuffer(int bytes)
{
    if (m_fd >= 0)
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
}

qint64 DatagramSocket::receive(char* buffer, qint64 size, DatagramEndpoint& from)
{
    if (m_fd < 0)
        return -1;
    sockaddr_in address{};
    socklen_t length = sizeof address;
    ssize_t n;
    do {
        n = ::recvfrom(m_fd, buffer, size_t(size), 0, reinterpret_cast<sockaddr*>(&address), &length);
    } while (n < 0 && errno == EINTR);
    if (n >= 0)
        from = {ntohl(address.sin_addr.s_addr), ntohs(address.sin_port)};
    return n;
}

bool DatagramSocket::send(const char* data, qint64 size, const DatagramEndpoint& to)
{
    if (m_fd < 0)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(to.port);
    address.sin_addr.s_addr = htonl(to.address);
    ssize_t n;
    do {
        n = ::sendto(m_fd, data, size_t(size), 0, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (n < 0 && errno == EINTR);
    return n == size;
}

void DatagramSocket::close()
{
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
}
