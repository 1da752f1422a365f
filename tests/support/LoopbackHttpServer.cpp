#include "support/LoopbackHttpServer.h"

#include <QTcpSocket>

LoopbackHttpServer::LoopbackHttpServer() {
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        }
    });
}

QUrl LoopbackHttpServer::url() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()));
}

void LoopbackHttpServer::answer(const QString& path, const QByteArray& body, int status) {
    answers_.insert(path, {status, body});
}

int LoopbackHttpServer::requestsFor(const QString& path) const {
    int count = 0;
    for (const QByteArray& request : requests_)
        if (request.startsWith("GET " + path.toUtf8() + " "))
            ++count;
    return count;
}

void LoopbackHttpServer::serve(QTcpSocket* socket) {
    QByteArray pending = socket->property("pending").toByteArray() + socket->readAll();
    const qsizetype end = pending.indexOf("\r\n\r\n");
    if (end < 0) {
        socket->setProperty("pending", pending);
        return;
    }
    const QByteArray head = pending.left(end);
    requests_.append(head);
    if (silent_)
        return;
    const QString path = QString::fromUtf8(head.split(' ').value(1));
    const auto found = answers_.constFind(path);
    const int status = found != answers_.constEnd() ? found->first : 404;
    const QByteArray body = found != answers_.constEnd() ? found->second : "Not Found";
    socket->write("HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Length: " +
                  QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}
