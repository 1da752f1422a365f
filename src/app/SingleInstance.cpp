#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalSocket>

#include <unistd.h>

namespace {
// A name for this user and this library.
QString serverName(const QString& libraryFolder) {
    const QByteArray hash =
        QCryptographicHash::hash(libraryFolder.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("jolvex-%1-%2")
        .arg(QString::number(::getuid()), QString::fromLatin1(hash.left(20)));
}
} // namespace

SingleInstance::SingleInstance(const QString& libraryFolder) {
    const QString name = serverName(libraryFolder);
    QLocalSocket other;
    other.connectToServer(name);
    if (other.waitForConnected(1000)) {
        other.write("show\n");
        other.waitForBytesWritten(1000);
        other.disconnectFromServer();
        first_ = false;
        return;
    }
    // Nobody answers: a name left by a program that ended without removing it is taken over.
    QLocalServer::removeServer(name);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(name);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            emit calledBack();
        }
    });
}
