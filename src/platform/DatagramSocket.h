#pragma once

#include <QString>
#include <QtGlobal>

// An IPv4 address (host order) and UDP port.
struct DatagramEndpoint
{
    quint32 address = 0;
    quint16 port = 0;

    bool isLoopback() const { return address >> 24 == 127; }
    bool operator==(const DatagramEndpoint&) const = default;
};

// An IPv4 UDP socket bound to every local address that talks to single addresses and is read without
// blocking. It holds its port alone: no other socket may bind it while it is open, whatever options that
// socket asks for. On Windows that takes SO_EXCLUSIVEADDRUSE before bind (with plain SO_REUSEADDR any later
// socket could take the port over), and SIO_UDP_CONNRESET switched off: otherwise a datagram sent to a port
// nobody holds any more makes the next receive fail with WSAECONNRESET.
class DatagramSocket
{
public:
    DatagramSocket() = default;
    ~DatagramSocket();
    DatagramSocket(const DatagramSocket&) = delete;
    DatagramSocket& operator=(const DatagramSocket&) = delete;

    // Port 0 lets the system choose; localPort() then tells which. On failure errorString() says why.
    bool bind(quint16 port);
    quint16 localPort() const;
    QString errorString() const { return m_error; }
    // Asks the kernel for a larger queue of datagrams not yet read; it caps the size at its own maximum.
    void requestReceiveBuffer(int bytes);
    // One datagram into the buffer, cut to its size, and where it came from; -1 when none waits (or on an
    // error).
    qint64 receive(char* buffer, qint64 size, DatagramEndpoint& from);
    // Sends without waiting; false when the system refused it (its queue full, no route).
    bool send(const char* data, qint64 size, const DatagramEndpoint& to);
    // For a notifier that says when a datagram waits; -1 before bind().
    qintptr descriptor() const { return m_fd; }
    void close();

private:
    qintptr m_fd = -1; // a file descriptor, or a SOCKET on Windows
    QString m_error;
};
