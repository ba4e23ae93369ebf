#pragma once

#include "NetworkAddresses.h"

// The addresses the PC's own name resolves to, as Winsock's name service gives them: those of its connected
// adapters, or 127.0.0.1 on a PC without any network. An empty list when Winsock cannot start or the name
// does not resolve.
class WinsockNetworkAddresses : public NetworkAddresses
{
public:
    QStringList localIPv4Addresses() const override;
};
