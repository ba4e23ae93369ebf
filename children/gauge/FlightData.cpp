#include "FlightData.h"

#include <QStringList>

#include <cmath>

std::optional<double> flightValue(const QByteArray& datagram, const QString& key)
{
    const QString text = QString::fromLatin1(datagram).trimmed();
    bool ok = false;
    if (!text.contains(u'=')) {
        const double v = QString(text).replace(u',', u'.').toDouble(&ok);
        return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
    }
    for (const QString& field : text.split(u';')) {
        const qsizetype eq = field.indexOf(u'=');
        if (eq < 0 || field.left(eq).trimmed() != key)
            continue;
        const double v = field.mid(eq + 1).trimmed().toDouble(&ok);
        return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
    }
    return std::nullopt;
}
