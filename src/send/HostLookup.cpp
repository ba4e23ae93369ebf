#include "HostLookup.h"

#include <QHostInfo>

std::optional<QString> lookUpIPv4(const QString& host, QString& failure)
{
    const QHostInfo info = QHostInfo::fromName(host);
    if (info.error() != QHostInfo::NoError) {
        failure = QStringLiteral("cannot look up %1: %2").arg(host, info.errorString());
        return std::nullopt;
    }
    for (const QHostAddress& a : info.addresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol)
            return a.toString();
    failure = QStringLiteral("cannot look up %1: it has no IPv4 address").arg(host);
    return std::nullopt;
}
