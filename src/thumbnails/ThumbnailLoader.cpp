#include "thumbnails/ThumbnailLoader.h"

#include "library/EntryDrop.h"
#include "platform/Threads.h"
#include "thumbnails/ThumbnailCache.h"

#include <QCoreApplication>
#include <QThread>

ThumbnailLoader::ThumbnailLoader(ThumbnailCache& cache) : cache_(cache) {
    // A worker a core; they run below the interface's priority, so painting and input never
    // wait for them.
    pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
}

ThumbnailLoader::~ThumbnailLoader() {
    cancelPending();
    pool_.waitForDone();
}

QImage ThumbnailLoader::thumbnail(const QString& path) {
    const ThumbnailLookup lookup = cache_.lookUp(path);
    if (lookup.state != ThumbnailLookup::State::NeedsMaking)
        return lookup.thumbnail;
    const auto failed = failed_.constFind(path);
    if (failed != failed_.constEnd() && *failed == lookup.pictureTime)
        return {}; // made in vain before; tried again once the picture changes
    const int generation = generation_;
    if (pending_.value(path, -1) == generation)
        return {}; // on its way
    // A request from before the last cancel no longer answers: this one replaces it.
    pending_.insert(path, generation);
    const std::int64_t pictureTime = lookup.pictureTime;
    // The newest request first: the cells in view now come before those scrolled away.
    pool_.start(
        [this, path, pictureTime, generation] {
            if (generation != generation_)
                return; // cancelled after all
            lowerCurrentThreadPriority();
            const QImage thumbnail = cache_.makeFile(path, pictureTime);
            QMetaObject::invokeMethod(
                this,
                [this, path, pictureTime, thumbnail, generation] {
                    finished(path, pictureTime, thumbnail, generation);
                },
                Qt::QueuedConnection);
        },
        ++requests_);
    return {};
}

void ThumbnailLoader::finished(const QString& path, std::int64_t pictureTime,
                               const QImage& thumbnail, int generation) {
    if (pending_.value(path, -1) == generation)
        pending_.remove(path);
    if (!thumbnail.isNull())
        failed_.remove(path);
    else
        failed_.insert(path, pictureTime);
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
    failed_.removeIf([&](const auto& failed) { return isSameOrInside(failed.key(), path); });
}

void ThumbnailLoader::waitForIdle() {
    pool_.waitForDone();
    // What the worker finished is announced through queued calls: deliver them.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

bool ThumbnailLoader::busy() const {
    return !pending_.isEmpty();
}
