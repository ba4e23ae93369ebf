#pragma once

#include <QStringList>

// The PC's own IPv4 addresses, as dotted decimal texts in a stable order. Duplicates are kept.
class NetworkAddresses
{
public:
    virtual ~NetworkAddresses() = default;
    virtual QStringList localIPv4Addresses() const = 0;
};
