#pragma once

#include "NetworkAddresses.h"

// The IPv4 addresses of the interfaces that are up and connected, loopback excluded, in interface order.
// A PC without any network still has its own name resolve to 127.0.0.1, so that is the answer then.
// An empty list means the interfaces could not be read at all.
class IfaddrsNetworkAddresses : public NetworkAddresses
{
public:
    QStringList localIPv4Addresses() const override;
};
