#include "thumbnails/ThumbnailCache.h"

#include "library/EntryDrop.h"
#include "picture/Picture.h"
#include "picture/ThumbnailGeometry.h"
#include "platform/FileSystem.h"
#include "platform/Logging.h"

#include <QFileInfo>

#include <cmath>
#include <optional>

namespace {
constexpr int kBox = ThumbnailSide;
// Larger than any cache file of at most 40x40 pixels can be, whatever its depth (32 bits: 6400
// bytes of pixels) and headers (a V5 header, masks or a 256-colour table): twice that margin.
constexpr qint64 kLargestCacheFile = 16 * 1024;

// The 40x40 thumbnails are kept under the picture's path; the larger ones under the path and
// their side, after a character no path holds.
QString memoryKey(const QString& path, int side) {
    return side == kBox ? path : path + QChar(0) + QString::number(side);
}

QString pathOfKey(const QString& key) {
    return key.section(QChar(0), 0, 0);
}
} // namespace

ThumbnailCache::ThumbnailCache(qsizetype memoryLimit, const QString& scaledFolder)
    : memory_(memoryLimit), scaledFiles_(scaledFolder) {}

void ThumbnailCache::remember(const QString& path, int side, std::int64_t pictureTime,
                              const QImage& thumbnail) {
    QMutexLocker locker(&memoryLock_);
    memory_.insert(memoryKey(path, side), new Remembered{pictureTime, thumbnail},
                   std::max<qsizetype>(1, thumbnail.sizeInBytes()));
}

std::optional<QImage> ThumbnailCache::recall(const QString& path, int side,
                                             std::int64_t pictureTime) {
    QMutexLocker locker(&memoryLock_);
    const Remembered* found = memory_.object(memoryKey(path, side)); // now the most recently used
    if (!found || found->pictureTime != pictureTime)
        return std::nullopt;
    return found->thumbnail;
}

qsizetype ThumbnailCache::memoryBytes() const {
    QMutexLocker locker(&memoryLock_);
    return memory_.totalCost();
}

void ThumbnailCache::clearMemory() {
    QMutexLocker locker(&memoryLock_);
    memory_.clear();
}

void ThumbnailCache::forget(const QString& path) {
    QMutexLocker locker(&memoryLock_);
    for (const QString& key : memory_.keys())
        if (isSameOrInside(pathOfKey(key), path))
            memory_.remove(key);
}

void ThumbnailCache::resetCounters() {
    counters_.pictureDecodes = 0;
    counters_.cacheFileReads = 0;
    counters_.memoryHits = 0;
}

ThumbnailLookup ThumbnailCache::lookUp(const QString& path, int side) {
    using State = ThumbnailLookup::State;
    if (!fileExists(path))
        return {};
    const auto pictureTime = fileWriteTime(path);
    if (!pictureTime)
        return {};
    if (side != kBox)
        return lookUpScaled(path, *pictureTime, side);
    const QString cachePath = thumbnailPath(path);
    // Only a plain file is a cache file: a link is never read through (making the thumbnail
    // replaces it), a folder stays as it is and the picture gets no thumbnail.
    const auto cacheTime = fileWriteTime(cachePath);
    if (!isPlainFile(cachePath) || !cacheTime || !sameWriteTime(*cacheTime, *pictureTime))
        return {State::NeedsMaking, {}, *pictureTime};

    if (auto remembered = recall(path, kBox, *pictureTime)) {
        ++counters_.memoryHits;
        return {State::Ready, *remembered, 0};
    }
    ++counters_.cacheFileReads;
    // An empty file is no thumbnail this program wrote but one a crash cut short (cache files
    // are not synced to the disk): made again. A larger file is no thumbnail and is not
    // decoded at all: a hostile one could describe a picture of hundreds of megabytes.
    const qint64 cacheSize = QFileInfo(cachePath).size();
    if (cacheSize == 0)
        return {State::NeedsMaking, {}, *pictureTime};
    if (cacheSize > kLargestCacheFile)
        return {};
    try {
        QImage thumbnail = decodeBmp(readWholeFile(cachePath), kBox * kBox);
        if (thumbnail.width() > kBox || thumbnail.height() > kBox)
            return {}; // not a thumbnail this program wrote
        remember(path, kBox, *pictureTime, thumbnail);
        return {State::Ready, thumbnail, 0};
    } catch (const std::exception& error) {
        qCWarning(lcThumbs) << "a damaged thumbnail file, left alone:" << cachePath << error.what();
        return {}; // damaged: nothing, and not made again while the times match
    }
}

QImage ThumbnailCache::makeFile(const QString& path, std::int64_t pictureTime, int side) {
    ++counters_.pictureDecodes;
    if (side != kBox)
        return makeScaled(path, pictureTime, side);
    try {
        DecodedPicture picture =
            loadPictureAtLeast(path, [](QSize size) { return thumbnailSize(size); });
        QImage thumbnail = makeThumbnail(std::move(picture.image), picture.pictureSize);
        const QString cachePath = thumbnailPath(path);
        replaceFileContents(cachePath, encodeBmp(thumbnail), WriteDurability::Cache);
        if (!setFileWriteTime(cachePath, pictureTime)) {
            qCWarning(lcThumbs) << "the thumbnail's time could not be set:" << cachePath;
            return {};
        }
        remember(path, kBox, pictureTime, thumbnail);
        return thumbnail;
    } catch (const std::exception& error) {
        // An undecodable picture, an unwritable folder: the cell stays empty.
        qCWarning(lcThumbs) << "no thumbnail for" << path << error.what();
        return {};
    }
}

ThumbnailLookup ThumbnailCache::lookUpScaled(const QString& path, std::int64_t pictureTime,
                                             int side) {
    using State = ThumbnailLookup::State;
    if (auto remembered = recall(path, side, pictureTime)) {
        ++counters_.memoryHits;
        return {State::Ready, *remembered, 0};
    }
    const QString file = scaledFiles_.fileFor(path, side);
    if (file.isEmpty() || !fileExists(file))
        return {State::NeedsMaking, {}, pictureTime};
    ++counters_.cacheFileReads;
    auto thumbnail = scaledFiles_.read(file, side);
    if (!thumbnail)
        return {State::NeedsMaking, {}, pictureTime}; // ours, and damaged: made again
    remember(path, side, pictureTime, *thumbnail);
    return {State::Ready, *thumbnail, 0};
}

QImage ThumbnailCache::makeScaled(const QString& path, std::int64_t pictureTime, int side) {
    try {
        DecodedPicture picture = loadPictureAtLeast(
            path, [side](QSize size) { return deviceThumbnailSize(size, side); });
        QImage thumbnail = makeThumbnail(std::move(picture.image), picture.pictureSize, side);
        // Kept in memory even when the cache folder refuses it: the user's folders never
        // depend on it.
        const QString file = scaledFiles_.fileFor(path, side);
        if (!file.isEmpty())
            scaledFiles_.write(file, thumbnail, path);
        remember(path, side, pictureTime, thumbnail);
        return thumbnail;
    } catch (const std::exception& error) {
        qCWarning(lcThumbs) << "no thumbnail for" << path << error.what();
        return {};
    }
}

QImage ThumbnailCache::thumbnail(const QString& path, int side) {
    const ThumbnailLookup lookup = lookUp(path, side);
    if (lookup.state == ThumbnailLookup::State::NeedsMaking)
        return makeFile(path, lookup.pictureTime, side);
    return lookup.thumbnail;
}

ScaledThumbnailFiles::Tidied ThumbnailCache::tidyScaledFiles(qint64 budgetBytes) {
    return scaledFiles_.tidy(budgetBytes);
}
