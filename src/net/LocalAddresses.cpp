#include "LocalAddresses.h"

#include "platform/NetworkAddresses.h"

void ListLocalAddresses(const NetworkAddresses& platform, QStringList& addresses)
{
    addresses << platform.localIPv4Addresses();
}
