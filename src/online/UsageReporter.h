#pragma once

#include <QThread>
#include <QUrl>

#include <atomic>

// Reports the installation until the statistics server has acknowledged it once, and use
// once a week; when the server names a newer version, sets the settings flag "UpDate" that the
// next start turns into the update question. Runs on its own thread, shows nothing, and leaves
// the settings as they were on any failure.
class UsageReporter : public QThread {
    Q_OBJECT
public:
    // `server`: scheme and host (and port) of the statistics server.
    explicit UsageReporter(const QUrl& server, QObject* parent = nullptr);
    // Ends a request under way at once and waits for the thread to notice.
    ~UsageReporter() override;

    // The server this build reports to: a build setting.
    static QUrl configuredServer();

protected:
    void run() override;

private:
    void reportInstallation();
    void reportUse();
    QString fetch(const QString& path);

    QUrl server_;
    std::atomic<bool> stopping_ = false;
};
