#include "thumbnails/ThumbnailLoader.h"

#include "library/EntryDrop.h"
#include "platform/Threads.h"
#include "thumbnails/ThumbnailCache.h"

#include "platform/Logging.h"

#include <QCoreApplication>
#include <QThread>

namespace {
// One picture may be asked for at several sides (popups on screens of different ratios).
QString requestKey(const QString& path, int side) {
    return QString::number(side) + QLatin1Char(':') + path;
}

QString pathOfKey(const QString& key) {
    return key.section(QLatin1Char(':'), 1);
}
} // namespace

ThumbnailLoader::ThumbnailLoader(ThumbnailCache& cache) : cache_(cache) {
    // A worker a core; they run below the interface's priority, so painting and input never
    // wait for them.
    pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    tidying_.setMaxThreadCount(1);
}

ThumbnailLoader::~ThumbnailLoader() {
    cancelPending();
    pool_.waitForDone();
    tidying_.waitForDone();
}

QImage ThumbnailLoader::thumbnail(const QString& path, int side) {
    const ThumbnailLookup lookup = cache_.lookUp(path, side);
    if (lookup.state != ThumbnailLookup::State::NeedsMaking)
        return lookup.thumbnail;
    const QString key = requestKey(path, side);
    const auto failed = failed_.constFind(key);
    if (failed != failed_.constEnd() && *failed == lookup.pictureTime)
        return {}; // made in vain before; tried again once the picture changes
    const int generation = generation_;
    if (pending_.value(key, -1) == generation)
        return {}; // on its way
    // A request from before the last cancel no longer answers: this one replaces it.
    pending_.insert(key, generation);
    const std::int64_t pictureTime = lookup.pictureTime;
    // The newest request first: the cells in view now come before those scrolled away.
    pool_.start(
        [this, key, path, side, pictureTime, generation] {
            if (generation != generation_)
                return; // cancelled after all
            lowerCurrentThreadPriority();
            const QImage thumbnail = cache_.makeFile(path, pictureTime, side);
            QMetaObject::invokeMethod(
                this,
                [this, key, path, pictureTime, thumbnail, generation] {
                    finished(key, path, pictureTime, thumbnail, generation);
                },
                Qt::QueuedConnection);
        },
        ++requests_);
    return {};
}

void ThumbnailLoader::finished(const QString& key, const QString& path, std::int64_t pictureTime,
                               const QImage& thumbnail, int generation) {
    if (pending_.value(key, -1) == generation)
        pending_.remove(key);
    if (!thumbnail.isNull())
        failed_.remove(key);
    else
        failed_.insert(key, pictureTime);
    emit ready(path, thumbnail);
}

void ThumbnailLoader::cancelPending() {
    // The requests that have not started cost nothing more; the one under way finishes and
    // still announces its thumbnail.
    ++generation_;
    pool_.clear();
    pending_.clear();
}

void ThumbnailLoader::forget(const QString& path) {
    cache_.forget(path);
    failed_.removeIf(
        [&](const auto& failed) { return isSameOrInside(pathOfKey(failed.key()), path); });
}

void ThumbnailLoader::tidyScaledFiles() {
    // On a thread of its own, so that closing a popup (which drops the requests not started)
    // does not drop it, and below the interface's priority like the workers.
    tidying_.start([this] {
        lowerCurrentThreadPriority();
        const auto tidied = cache_.tidyScaledFiles();
        qCInfo(lcThumbs) << "scaled thumbnails tidied:" << tidied.removed << "removed,"
                         << tidied.bytesKept << "bytes kept";
    });
}

void ThumbnailLoader::waitForIdle() {
    pool_.waitForDone();
    // What the worker finished is announced through queued calls: deliver them.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

bool ThumbnailLoader::busy() const {
    return !pending_.isEmpty();
}
