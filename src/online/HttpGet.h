#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;

struct HttpGetLimits {
    int timeoutMs = 20000;            // the whole exchange, connection included
    qint64 largestBody = 1024 * 1024; // a longer body is cut here
};

// One plain HTTP GET of the resource at `url` (agent "Ruvo", no cache, no cookies, the
// system's proxy settings), asynchronous on the calling thread's event loop. finished() brings
// the body decoded as text without a byte-order mark (UTF-8, else GB18030). The status is not
// looked at: an error page's body comes like any other. The body is "" when no connection or
// request could be made, when the exchange outlasts the time-out, and for hosts under the
// reserved ".invalid" domain, which are never looked up. Destroying the object ends the
// exchange at once; finished() then does not come.
class HttpGet : public QObject {
    Q_OBJECT
public:
    HttpGet(QNetworkAccessManager& manager, const QUrl& url, const HttpGetLimits& limits = {},
            QObject* parent = nullptr);
    ~HttpGet() override;

    // The network settings of every request: the system's proxies, no cookie kept or offered.
    static void configure(QNetworkAccessManager& manager);

signals:
    void finished(const QString& body);

private:
    void readBody();
    void end(bool failed);

    HttpGetLimits limits_;
    std::unique_ptr<QNetworkReply> reply_;
    QByteArray body_;
    QTimer deadline_;
    bool ended_ = false;
};
