#pragma once

#include <QtGlobal>

// The UDP socket set-up the control listener and the relay share on Windows (PosixUdp.h on other systems).

// A non-blocking IPv4 UDP socket bound to `port` on every address and claimed for this socket alone; port 0
// lets the system choose. It counts as one Winsock user until closeUdp(). -1 on failure, with
// WSAGetLastError() telling why.
qintptr openExclusiveUdp(quint16 port);
// The port a socket is bound to; 0 when it is none.
quint16 boundUdpPort(qintptr socket);
// Closes a socket openExclusiveUdp() made and gives up its Winsock use.
void closeUdp(qintptr socket);
