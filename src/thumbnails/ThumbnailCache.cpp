#include "thumbnails/ThumbnailCache.h"

#include "library/EntryDrop.h"
#include "picture/Picture.h"
#include "picture/ThumbnailGeometry.h"
#include "platform/FileSystem.h"
#include "platform/Logging.h"

#include <QFileInfo>
#include <QPainter>

#include <cmath>
#include <optional>

namespace {
constexpr int kBox = ThumbnailSide;
// Larger than any cache file of at most 40x40 pixels can be, whatever its depth (32 bits: 6400
// bytes of pixels) and headers (a V5 header, masks or a 256-colour table): twice that margin.
constexpr qint64 kLargestCacheFile = 16 * 1024;

int roundHalfToEven(double value) {
    return static_cast<int>(std::nearbyint(value)); // the default rounding mode: to even
}
} // namespace

QSize thumbnailSize(QSize picture) {
    const int w = picture.width();
    const int h = picture.height();
    if (w <= kBox && h <= kBox)
        return picture;
    // A very long or very tall picture still keeps a side of one pixel.
    if (w > h)
        return {kBox, std::max(1, roundHalfToEven(static_cast<double>(h) / w * kBox))};
    return {std::max(1, roundHalfToEven(static_cast<double>(w) / h * kBox)), kBox};
}

QImage makeThumbnail(QImage picture, QSize pictureSize) {
    const QSize size = thumbnailSize(pictureSize);
    QImage thumbnail(size, QImage::Format_RGB32);
    thumbnail.fill(Qt::white);
    if (size.isEmpty())
        return thumbnail;
    QPainter painter(&thumbnail);
    painter.drawImage(QPoint(0, 0), shrinkPicture(std::move(picture), size));
    return thumbnail;
}

ThumbnailCache::ThumbnailCache(qsizetype memoryLimit) : memory_(memoryLimit) {}

void ThumbnailCache::remember(const QString& path, std::int64_t pictureTime,
                              const QImage& thumbnail) {
    QMutexLocker locker(&memoryLock_);
    memory_.insert(path, new Remembered{pictureTime, thumbnail},
                   std::max<qsizetype>(1, thumbnail.sizeInBytes()));
}

std::optional<QImage> ThumbnailCache::recall(const QString& path, std::int64_t pictureTime) {
    QMutexLocker locker(&memoryLock_);
    const Remembered* found = memory_.object(path); // now the most recently used
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
        if (isSameOrInside(key, path))
            memory_.remove(key);
}

void ThumbnailCache::resetCounters() {
    counters_.pictureDecodes = 0;
    counters_.cacheFileReads = 0;
    counters_.memoryHits = 0;
}

ThumbnailLookup ThumbnailCache::lookUp(const QString& path) {
    using State = ThumbnailLookup::State;
    if (!fileExists(path))
        return {};
    const auto pictureTime = fileWriteTime(path);
    if (!pictureTime)
        return {};
    const QString cachePath = thumbnailPath(path);
    // Only a plain file is a cache file: a link is never read through (making the thumbnail
    // replaces it), a folder stays as it is and the picture gets no thumbnail.
    const auto cacheTime = fileWriteTime(cachePath);
    if (!isPlainFile(cachePath) || !cacheTime || !sameWriteTime(*cacheTime, *pictureTime))
        return {State::NeedsMaking, {}, *pictureTime};

    if (auto remembered = recall(path, *pictureTime)) {
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
        remember(path, *pictureTime, thumbnail);
        return {State::Ready, thumbnail, 0};
    } catch (const std::exception& error) {
        qCWarning(lcThumbs) << "a damaged thumbnail file, left alone:" << cachePath << error.what();
        return {}; // damaged: nothing, and not made again while the times match
    }
}

QImage ThumbnailCache::makeFile(const QString& path, std::int64_t pictureTime) {
    ++counters_.pictureDecodes;
    try {
        DecodedPicture picture = loadPictureAtLeast(path, thumbnailSize);
        QImage thumbnail = makeThumbnail(std::move(picture.image), picture.pictureSize);
        const QString cachePath = thumbnailPath(path);
        replaceFileContents(cachePath, encodeBmp(thumbnail), WriteDurability::Cache);
        if (!setFileWriteTime(cachePath, pictureTime)) {
            qCWarning(lcThumbs) << "the thumbnail's time could not be set:" << cachePath;
            return {};
        }
        remember(path, pictureTime, thumbnail);
        return thumbnail;
    } catch (const std::exception& error) {
        // An undecodable picture, an unwritable folder: the cell stays empty.
        qCWarning(lcThumbs) << "no thumbnail for" << path << error.what();
        return {};
    }
}

QImage ThumbnailCache::thumbnail(const QString& path) {
    const ThumbnailLookup lookup = lookUp(path);
    if (lookup.state == ThumbnailLookup::State::NeedsMaking)
        return makeFile(path, lookup.pictureTime);
    return lookup.thumbnail;
}
