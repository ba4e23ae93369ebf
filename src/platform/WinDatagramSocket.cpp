#include "DatagramSocket.h"
#include "WinUdp.h"

#include <winsock2.h>
#include <ws2tcpip.h>
// After winsock2.h, whose types it uses.
#include <mswsock.h>

namespace {

SOCKET handle(qintptr descriptor)
{
    return static_cast<SOCKET>(descriptor);
}

QString lastSocketError()
{
    const int code = ::WSAGetLastError();
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, DWORD(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const QString message = QString::fromWCharArray(text, int(length)).trimmed();
    ::LocalFree(text);
    // Some systems have no text for a Winsock error; its number still tells the user what to look up.
    return message.isEmpty() ? QStringLiteral("Windows Sockets error %1").arg(code) : message;
}

} // namespace

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
        m_error = lastSocketError();
        return false;
    }
    // A copy sent to a gauge that has just ended brings back "port unreachable", which would otherwise end the
    // next receive with an error.
    BOOL reportReset = FALSE;
    DWORD returned = 0;
    ::WSAIoctl(handle(m_fd), SIO_UDP_CONNRESET, &reportReset, sizeof reportReset, nullptr, 0, &returned, nullptr,
               nullptr);
    return true;
}

quint16 DatagramSocket::localPort() const
{
    return boundUdpPort(m_fd);
}

void DatagramSocket::requestReceiveBuffer(int bytes)
{
    if (m_fd >= 0)
        ::setsockopt(handle(m_fd), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bytes), sizeof bytes);
}

qint64 DatagramSocket::receive(char* buffer, qint64 size, DatagramEndpoint& from)
{
    if (m_fd < 0)
        return -1;
    sockaddr_in address{};
    int length = sizeof address;
    int n = ::recvfrom(handle(m_fd), buffer, int(size), 0, reinterpret_cast<sockaddr*>(&address), &length);
    // A longer datagram fills the buffer and reports itself as cut, as it comes cut on other systems.
    if (n == SOCKET_ERROR && ::WSAGetLastError() == WSAEMSGSIZE)
        n = int(size);
    if (n == SOCKET_ERROR)
        return -1;
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
    return ::sendto(handle(m_fd), data, int(size), 0, reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
           size;
}

void DatagramSocket::close()
{
    if (m_fd < 0)
        return;
    closeUdp(m_fd);
    m_fd = -1;
}
