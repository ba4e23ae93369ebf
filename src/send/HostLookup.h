#pragma once

#include <QString>

#include <optional>

// The first IPv4 address of a host name, as text (an address stands for itself), or what went wrong.
std::optional<QString> lookUpIPv4(const QString& host, QString& failure);
