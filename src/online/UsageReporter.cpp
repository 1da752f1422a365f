#include "online/UsageReporter.h"

#include "online/HttpGet.h"
#include "online/UsageRules.h"
#include "platform/Logging.h"
#include "platform/SettingsStore.h"

#include <QDate>

namespace {
const QString kInstallPage = QStringLiteral("/stats/jolvex10_install.php");
const QString kUsePage = QStringLiteral("/stats/jolvex10_uses.php");

void raiseFlag(const QString& name) {
    if (auto store = SettingsStore::open(true)) {
        store->writeFlag(name, true);
        store->close();
    }
}
} // namespace

UsageReporter::UsageReporter(const QUrl& server, QObject* parent)
    : QObject(parent), server_(server) {
    HttpGet::configure(network_);
}

UsageReporter::~UsageReporter() = default; // the request under way ends with its HttpGet

QUrl UsageReporter::configuredServer() {
    return QUrl(QStringLiteral("http://" JOLVEX_STATS_HOST));
}

void UsageReporter::start() {
    finished_ = false;
    reportInstallation();
}

void UsageReporter::fetch(const QString& path, std::function<void(const QString&)> onAnswer) {
    QUrl url = server_;
    url.setPath(path);
    request_ = std::make_unique<HttpGet>(network_, url);
    connect(request_.get(), &HttpGet::finished, this,
            [this, url, onAnswer = std::move(onAnswer)](const QString& answer) {
                // The request is done with: released once its signal has returned.
                request_.release()->deleteLater();
                if (answer.isEmpty())
                    qCDebug(lcOnline) << "no answer from" << url.toString(); // offline is normal
                onAnswer(answer);
            });
}

void UsageReporter::reportInstallation() {
    auto store = SettingsStore::open(true);
    if (!store || store->hasValue(QStringLiteral("Install"))) {
        reportUse();
        return;
    }
    fetch(kInstallPage, [this](const QString& answer) {
        if (isAcknowledged(answer))
            raiseFlag(QStringLiteral("Install"));
        reportUse();
    });
}

void UsageReporter::reportUse() {
    auto store = SettingsStore::open(true);
    if (!store) {
        finish();
        return;
    }
    QDate lastExit;
    if (store->hasValue(QStringLiteral("Date"))) {
        lastExit = store->readDate(QStringLiteral("Date")).value_or(QDate());
        if (!lastExit.isValid()) {
            // A value of another kind: the report ends here, as on any error.
            qCWarning(lcOnline) << "the stored last exit date is not a date: no use report";
            finish();
            return;
        }
    }
    if (!useIsReported(QDate::currentDate(), lastExit)) {
        finish();
        return;
    }
    fetch(kUsePage, [this](const QString& answer) {
        if (announcesNewerVersion(answer))
            raiseFlag(QStringLiteral("UpDate"));
        finish();
    });
}

void UsageReporter::finish() {
    finished_ = true;
    emit finished();
}
