#include "delivery/ThumbnailLoader.h"

#include "delivery/ThumbnailCache.h"

ThumbnailLoader::ThumbnailLoader(ThumbnailCache& cache) : cache_(cache) {
    // One worker: decoding competes with painting for the same cores.
    pool_.setMaxThreadCount(1);
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
    if (pending_.contains(path))
        return {};
    pending_.insert(path);
    const int generation = generation_;
    const std::int64_t pictureTime = lookup.pictureTime;
    pool_.start([this, path, pictureTime, generation] {
        bool made = false;
        const bool wanted = generation == generation_;
        if (wanted)
            made = !cache_.makeFile(path, pictureTime).isNull();
        QMetaObject::invokeMethod(
            this,
            [this, path, pictureTime, made, wanted] {
                if (wanted)
                    finished(path, pictureTime, made);
                else
                    pending_.remove(path);
            },
            Qt::QueuedConnection);
    });
    return {};
}

void ThumbnailLoader::finished(const QString& path, std::int64_t pictureTime, bool made) {
    pending_.remove(path);
    if (made)
        failed_.remove(path);
    else
        failed_.insert(path, pictureTime);
    emit ready(path);
}

void ThumbnailLoader::cancelPending() {
    ++generation_;
}

void ThumbnailLoader::waitForIdle() {
    pool_.waitForDone();
}

bool ThumbnailLoader::busy() const {
    return !pending_.isEmpty();
}
