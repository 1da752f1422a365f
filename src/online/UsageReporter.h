#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QUrl>

#include <functional>
#include <memory>

class HttpGet;

// Reports the installation until the statistics server has acknowledged it once, and use
// once a week; when the server names a newer version, sets the settings flag "UpDate" that the
// next start turns into the update question. Works asynchronously on the interface thread,
// shows nothing, and leaves the settings as they were on any failure.
class UsageReporter : public QObject {
    Q_OBJECT
public:
    // `server`: scheme and host (and port) of the statistics server.
    explicit UsageReporter(const QUrl& server, QObject* parent = nullptr);
    // Ends a request under way at once.
    ~UsageReporter() override;

    // The server this build reports to: a build setting.
    static QUrl configuredServer();

    // The installation report, then the use report; finished() follows.
    void start();
    bool isFinished() const { return finished_; }

signals:
    void finished();

private:
    void reportInstallation();
    void reportUse();
    void fetch(const QString& path, std::function<void(const QString&)> onAnswer);
    void finish();

    QUrl server_;
    QNetworkAccessManager network_;
    std::unique_ptr<HttpGet> request_;
    bool finished_ = false;
};
