#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

// Enough for a command line; a peer that sends more is not one of ours.
constexpr qint64 kMaxMessage = 64 * 1024;
const QByteArray kTaken = QByteArrayLiteral("taken\n");

} // namespace

SingleInstance::SingleInstance(QString key, QObject* parent) : QObject(parent), m_key(std::move(key)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::keyFor(const QString& settingsFolder)
{
    // Hashed: the folder's path may be longer than a socket name may be, and holds characters it may not.
    // The home folder stands for the user on every system, also when APPDATA points two users at one folder.
    QByteArray who = QDir::homePath().toUtf8();
    who += '\0';
    who += settingsFolder.toUtf8();
    return QStringLiteral("varnolt-") +
           QString::fromLatin1(QCryptographicHash::hash(who, QCryptographicHash::Sha256).toHex().left(24));
}

bool SingleInstance::handOver(const QStringList& arguments, int waitMilliseconds)
{
    QLocalSocket socket;
    socket.connectToServer(m_key);
    if (!socket.waitForConnected(waitMilliseconds))
        return false;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << arguments;
    socket.write(message);
    if (!socket.waitForBytesWritten(waitMilliseconds))
        return false;
    // The running copy says when it has the arguments; without that word this start goes on by itself.
    while (socket.bytesAvailable() < kTaken.size()) {
        if (!socket.waitForReadyRead(waitMilliseconds))
            return false;
    }
    return socket.read(kTaken.size()) == kTaken;
}

bool SingleInstance::listen()
{
    if (m_server)
        return true;
    auto* server = new QLocalServer(this);
    // Only this user's later starts may hand over a command line.
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(m_key)) {
        // A name left behind by a copy that crashed: nobody answered handOver, so nobody holds it.
        QLocalServer::removeServer(m_key);
        if (!server->listen(m_key)) {
            delete server;
            return false;
        }
    }
    connect(server, &QLocalServer::newConnection, this, &SingleInstance::accept);
    m_server = server;
    return true;
}

void SingleInstance::accept()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() > kMaxMessage) {
                socket->abort();
                return;
            }
            // A message may arrive in parts: read it only once it is whole.
            QDataStream in(socket);
            in.startTransaction();
            QStringList arguments;
            in >> arguments;
            if (!in.commitTransaction())
                return;
            socket->write(kTaken);
            socket->flush();
            emit started(arguments);
        });
    }
}
