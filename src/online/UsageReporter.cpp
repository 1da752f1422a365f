#include "online/UsageReporter.h"

#include "base/SettingsDate.h"
#include "online/HttpGet.h"
#include "online/UsageRules.h"
#include "platform/Logging.h"
#include "platform/SettingsStore.h"

#include <QDate>

namespace {
const QString kInstallPage = QStringLiteral("/stats/jolvex10_install.php");
const QString kUsePage = QStringLiteral("/stats/jolvex10_uses.php");
} // namespace

UsageReporter::UsageReporter(const QUrl& server, QObject* parent)
    : QThread(parent), server_(server) {}

UsageReporter::~UsageReporter() {
    stopping_ = true;
    wait();
}

QUrl UsageReporter::configuredServer() {
    return QUrl(QStringLiteral("http://" JOLVEX_STATS_HOST));
}

QString UsageReporter::fetch(const QString& path) {
    QUrl url = server_;
    url.setPath(path);
    HttpGetLimits limits;
    limits.cancelled = &stopping_;
    const QString answer = httpGet(url, limits);
    if (answer.isEmpty())
        qCDebug(lcOnline) << "no answer from" << url.toString(); // offline is normal
    return answer;
}

void UsageReporter::run() {
    reportInstallation();
    if (!stopping_)
        reportUse();
}

void UsageReporter::reportInstallation() {
    auto store = SettingsStore::open(true);
    if (!store || store->hasValue(QStringLiteral("Install")))
        return;
    if (isAcknowledged(fetch(kInstallPage)) && !stopping_) {
        store->writeDword(QStringLiteral("Install"), 1);
        store->close();
    }
}

void UsageReporter::reportUse() {
    auto store = SettingsStore::open(true);
    if (!store)
        return;
    QDate lastExit;
    if (store->hasValue(QStringLiteral("Date"))) {
        const auto bytes = store->readBinary(QStringLiteral("Date"));
        lastExit = bytes ? decodeSettingsDate(*bytes) : QDate();
        if (!lastExit.isValid()) {
            // A value of another kind: the report ends here, as on any error.
            qCWarning(lcOnline) << "the stored last exit date is not a date: no use report";
            return;
        }
    }
    if (!useIsReported(QDate::currentDate(), lastExit))
        return;
    if (announcesNewerVersion(fetch(kUsePage)) && !stopping_) {
        store->writeDword(QStringLiteral("UpDate"), 1);
        store->close();
    }
}
