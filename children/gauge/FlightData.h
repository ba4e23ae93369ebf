#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A gauge's value from one datagram: flight data from the export script ("IAS=251.3;ALT=12040;..."), where
// the gauge takes the value under its own key, or a plain number typed by hand ("120").
std::optional<double> flightValue(const QByteArray& datagram, const QString& key);
