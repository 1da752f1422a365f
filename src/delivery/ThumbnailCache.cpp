#include "delivery/ThumbnailCache.h"

#include "picture/Picture.h"
#include "platform/FileSystem.h"

#include <QHash>
#include <QMutex>
#include <QPainter>

#include <cmath>
#include <optional>

namespace {
constexpr int kBox = 40;
// Thumbnails kept in memory (about 6 KB each); the whole memory is dropped past this.
constexpr int kMemoryLimit = 4096;

// Thumbnails read or made earlier, valid while the picture keeps its time and the cache file
// carries the same (the look-up checks the cache file's time before asking here).
struct Remembered {
    std::int64_t pictureTime;
    QImage thumbnail;
};

QMutex& MemoryLock() {
    static QMutex lock;
    return lock;
}

QHash<QString, Remembered>& Memory() {
    static QHash<QString, Remembered> memory;
    return memory;
}

void Remember(const QString& path, std::int64_t pictureTime, const QImage& thumbnail) {
    QMutexLocker locker(&MemoryLock());
    auto& memory = Memory();
    if (memory.size() >= kMemoryLimit)
        memory.clear();
    memory.insert(path, {pictureTime, thumbnail});
}

std::optional<QImage> Recall(const QString& path, std::int64_t pictureTime) {
    QMutexLocker locker(&MemoryLock());
    const auto found = Memory().constFind(path);
    if (found == Memory().constEnd() || found->pictureTime != pictureTime)
        return std::nullopt;
    return found->thumbnail;
}

int RoundHalfToEven(double value) {
    return static_cast<int>(std::nearbyint(value)); // the default rounding mode: to even
}
} // namespace

QSize ThumbnailSize(QSize picture) {
    const int w = picture.width();
    const int h = picture.height();
    if (w <= kBox && h <= kBox)
        return picture;
    if (w > h)
        return {kBox, RoundHalfToEven(static_cast<double>(h) / w * kBox)};
    return {RoundHalfToEven(static_cast<double>(w) / h * kBox), kBox};
}

QImage MakeThumbnail(const QImage& picture, QSize pictureSize) {
    const QSize size = ThumbnailSize(pictureSize);
    QImage thumbnail(size, QImage::Format_RGB32);
    thumbnail.fill(Qt::white);
    if (size.isEmpty())
        return thumbnail;
    QPainter painter(&thumbnail);
    painter.drawImage(QPoint(0, 0),
                      picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return thumbnail;
}

QString ThumbnailPath(const QString& picturePath) {
    return picturePath + QStringLiteral(".thb");
}

ThumbnailCounters& ThumbnailWork() {
    static ThumbnailCounters counters;
    return counters;
}

void ClearThumbnailMemory() {
    QMutexLocker locker(&MemoryLock());
    Memory().clear();
}

void ResetThumbnailWork() {
    ThumbnailWork().pictureDecodes = 0;
    ThumbnailWork().cacheFileReads = 0;
    ThumbnailWork().memoryHits = 0;
}

ThumbnailLookup LookUpThumbnail(const QString& path) {
    if (!FileExists(path))
        return {};
    const auto pictureTime = GetFileWriteTime(path);
    if (!pictureTime)
        return {};
    const QString cachePath = ThumbnailPath(path);
    const auto cacheTime = GetFileWriteTime(cachePath);
    if (!cacheTime || *cacheTime != *pictureTime || !FileExists(cachePath))
        return {ThumbnailLookup::NeedsMaking, {}, *pictureTime};

    if (auto remembered = Recall(path, *pictureTime)) {
        ++ThumbnailWork().memoryHits;
        return {ThumbnailLookup::Ready, *remembered, 0};
    }
    ++ThumbnailWork().cacheFileReads;
    try {
        QImage thumbnail = DecodeBmp(ReadWholeFile(cachePath));
        if (thumbnail.width() > kBox || thumbnail.height() > kBox)
            return {}; // not a thumbnail this program wrote
        Remember(path, *pictureTime, thumbnail);
        return {ThumbnailLookup::Ready, thumbnail, 0};
    } catch (const std::exception&) {
        return {}; // damaged: nothing, and not made again while the times match
    }
}

QImage MakeThumbnailFile(const QString& path, std::int64_t pictureTime) {
    ++ThumbnailWork().pictureDecodes;
    try {
        const DecodedPicture picture = LoadPictureAtLeast(path, ThumbnailSize);
        QImage thumbnail = MakeThumbnail(picture.image, picture.pictureSize);
        const QString cachePath = ThumbnailPath(path);
        ReplaceFileContents(cachePath, EncodeBmp(thumbnail));
        if (!SetFileWriteTime(cachePath, pictureTime))
            return {};
        Remember(path, pictureTime, thumbnail);
        return thumbnail;
    } catch (const std::exception&) {
        return {}; // undecodable picture, unwritable folder: no thumbnail
    }
}

QImage GetThumbnail(const QString& path) {
    const ThumbnailLookup lookup = LookUpThumbnail(path);
    if (lookup.state == ThumbnailLookup::NeedsMaking)
        return MakeThumbnailFile(path, lookup.pictureTime);
    return lookup.thumbnail;
}
