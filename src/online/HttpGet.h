#pragma once

#include <QString>
#include <QUrl>

#include <atomic>

struct HttpGetLimits {
    int timeoutMs = 20000;                        // the whole exchange, connection included
    qint64 largestBody = 1024 * 1024;             // a longer body is cut here
    const std::atomic<bool>* cancelled = nullptr; // polled: when it turns true the request ends
};

// The body of the resource at `url`, fetched with a plain HTTP GET (agent "Ruvo", no cache,
// no cookies, the system's proxy settings) and decoded as text without a byte-order mark is
// (UTF-8, else GB18030). The status is not looked at: an error page's body is returned like
// any other. "" when no connection or request could be made, when the exchange outlasts the
// time-out or is cancelled, and for hosts under the reserved ".invalid" domain, which are
// never looked up. Blocks the calling thread, running a local event loop.
QString httpGet(const QUrl& url, const HttpGetLimits& limits = {});
