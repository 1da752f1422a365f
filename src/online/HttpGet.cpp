#include "online/HttpGet.h"

#include "platform/FileSystem.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

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

QString httpGet(const QUrl& url, const HttpGetLimits& limits) {
    if (!url.isValid() || url.host().isEmpty() ||
        url.host().endsWith(QStringLiteral(".invalid"), Qt::CaseInsensitive))
        return {};
    QNetworkAccessManager manager;
    manager.setProxyFactory(new SystemProxies);
    manager.setCookieJar(new NoCookies);
    manager.setAutoDeleteReplies(false);

    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Ruvo"));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(limits.timeoutMs);

    const std::unique_ptr<QNetworkReply> reply(manager.get(request));
    QByteArray body;
    bool failed = false;
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        // Read in pieces; an endless body is cut at the limit.
        body += reply->read(std::max<qint64>(0, limits.largestBody - body.size()));
        if (body.size() >= limits.largestBody)
            loop.quit();
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer watch;
    QElapsedTimer elapsed;
    elapsed.start();
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        if (elapsed.elapsed() > limits.timeoutMs ||
            (limits.cancelled && limits.cancelled->load())) {
            failed = true;
            loop.quit();
        }
    });
    watch.start(50);
    if (!reply->isFinished())
        loop.exec();
    watch.stop();

    if (!reply->isFinished()) {
        reply->abort();
    } else {
        body += reply->read(std::max<qint64>(0, limits.largestBody - body.size()));
        // A reply without an HTTP status never reached a server (refused, no host, time-out).
        if (!reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
            failed = true;
    }
    if (failed)
        return {};
    return decodeAnsiText(body);
}
