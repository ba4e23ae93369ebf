#pragma once

#include <QtGlobal>

// The UDP socket set-up the control listener and the relay share on POSIX systems.

// A non-blocking IPv4 UDP socket bound to `port` on every address, never shared with another socket; port 0
// lets the system choose. -1 on failure, with errno telling why.
int openExclusiveUdp(quint16 port);
// The port a socket is bound to; 0 when it is none.
quint16 boundUdpPort(int fd);
