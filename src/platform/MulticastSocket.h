#pragma once

#include <QtGlobal>

// An IPv4 UDP socket bound to every local address, that joins a multicast group on the default interface and
// is read without blocking. Not shared with other sockets: a second binder of the port gets nothing.
class MulticastSocket
{
public:
    MulticastSocket() = default;
    ~MulticastSocket();
    MulticastSocket(const MulticastSocket&) = delete;
    MulticastSocket& operator=(const MulticastSocket&) = delete;

    // Port 0 lets the system choose; localPort() then tells which.
    bool bind(quint16 port);
    // The last bind() failed because another socket holds the port.
    bool portInUse() const { return m_portInUse; }
    quint16 localPort() const;
    // group: the IPv4 address in host order.
    bool join(quint32 group);
    // Asks the kernel for a larger queue of datagrams not yet read; it caps the size at its own maximum.
    void requestReceiveBuffer(int bytes);
    // Takes one datagram and copies as much of it as fits into the buffer. Returns its whole length, which is
    // larger than size when it did not fit (it is gone then all the same); -1 when none waits (or on an error).
    qint64 receive(char* buffer, qint64 size);
    // For a notifier that says when a datagram waits (a socket handle on Windows); -1 before bind().
    qintptr descriptor() const { return m_fd; }
    // Leaves the group, if joined, and closes.
    void close();

private:
    qintptr m_fd = -1;
    quint32 m_group = 0;
    bool m_joined = false;
    bool m_portInUse = false;
};
