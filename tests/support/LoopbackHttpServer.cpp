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

void LoopbackHttpServer::answer(const QString& path, const QByteArray& body, int status,
                                const QByteArray& headers) {
    answers_.insert(path, {status, body, headers});
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
    const bool known = found != answers_.constEnd();
    const int status = known ? found->status : 404;
    const QByteArray body = known ? found->body : "Not Found";
    const QByteArray headers = known ? found->headers : QByteArray();
    socket->write("HTTP/1.1 " + QByteArray::number(status) +
                  " X\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n" + headers +
                  "Connection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}
