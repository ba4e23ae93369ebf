#pragma once

#include "SendOptions.h"

#include <QString>

// Sends the datagram as the options say; returns an empty text or what went wrong.
QString sendDatagrams(const SendOptions& options);
