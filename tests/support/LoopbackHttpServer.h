#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QUrl>

// A small HTTP server on 127.0.0.1 for tests, served by the thread that made it: each path
// answers with a status and body of the test's choosing (404 otherwise), or never answers.
class LoopbackHttpServer : public QObject {
    Q_OBJECT
public:
    LoopbackHttpServer();

    // "http://127.0.0.1:<port>"
    QUrl url() const;
    // `headers`: more header lines, each ending in "\r\n".
    void answer(const QString& path, const QByteArray& body, int status = 200,
                const QByteArray& headers = {});
    // Accepts connections and reads the requests, but never replies.
    void neverAnswer() { silent_ = true; }
    // Every request received so far: its request line and headers.
    const QList<QByteArray>& requests() const { return requests_; }
    int requestsFor(const QString& path) const;

private:
    void serve(QTcpSocket* socket);

    QTcpServer server_;
    struct Answer {
        int status;
        QByteArray body;
        QByteArray headers;
    };
    QHash<QString, Answer> answers_;
    QList<QByteArray> requests_;
    bool silent_ = false;
};
