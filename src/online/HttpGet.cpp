#include "online/HttpGet.h"

#include "platform/FileSystem.h"

#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {
// Keeps no cookie and offers none.
class NoCookies : public QNetworkCookieJar {
public:
    QList<QNetworkCookie> cookiesForUrl(const QUrl&) const override { return {}; }
    bool setCookiesFromUrl(const QList<QNetworkCookie>&, const QUrl&) override { return false; }
};

// The system's proxy settings, asked for each request.
class SystemProxies : public QNetworkProxyFactory {
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override {
        return systemProxyForQuery(query);
    }
};
} // namespace

void HttpGet::configure(QNetworkAccessManager& manager) {
    manager.setProxyFactory(new SystemProxies);
    manager.setCookieJar(new NoCookies);
    manager.setAutoDeleteReplies(false);
}

HttpGet::HttpGet(QNetworkAccessManager& manager, const QUrl& url, const HttpGetLimits& limits,
                 QObject* parent)
    : QObject(parent), limits_(limits) {
    if (!url.isValid() || url.host().isEmpty() ||
        url.host().endsWith(QStringLiteral(".invalid"), Qt::CaseInsensitive)) {
        // Answered from the event loop, like any other request.
        QTimer::singleShot(0, this, [this] { end(true); });
        return;
    }
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Ruvo"));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(limits_.timeoutMs);
    reply_.reset(manager.get(request));
    connect(reply_.get(), &QNetworkReply::readyRead, this, &HttpGet::readBody);
    connect(reply_.get(), &QNetworkReply::finished, this, [this] {
        readBody();
        // A reply without an HTTP status never reached a server (refused, no host, time-out).
        end(!reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid());
    });
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] { end(true); });
    deadline_.start(limits_.timeoutMs);
}

HttpGet::~HttpGet() {
    if (reply_ && !reply_->isFinished()) {
        reply_->disconnect(this);
        reply_->abort();
    }
}

void HttpGet::readBody() {
    if (ended_ || !reply_)
        return;
    // Read in pieces; an endless body is cut at the limit.
    body_ += reply_->read(std::max<qint64>(0, limits_.largestBody - body_.size()));
    if (body_.size() >= limits_.largestBody)
        end(false);
}

void HttpGet::end(bool failed) {
    if (ended_)
        return;
    ended_ = true;
    deadline_.stop();
    if (reply_ && !reply_->isFinished()) {
        reply_->disconnect(this);
        reply_->abort();
    }
    emit finished(failed ? QString() : decodeAnsiText(body_));
}
