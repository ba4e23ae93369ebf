#pragma once

#include <QStringList>

class NetworkAddresses;

// Appends the PC's IPv4 addresses to the list, duplicates included; nothing when they cannot be found.
void ListLocalAddresses(const NetworkAddresses& platform, QStringList& addresses);
