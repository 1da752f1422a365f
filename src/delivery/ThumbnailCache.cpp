#include "delivery/ThumbnailCache.h"

#include "picture/Picture.h"
#include "platform/FileSystem.h"

#include <QHash>
#include <QPainter>

#include <cmath>

namespace {
constexpr int kBox = 40;
// Thumbnails kept in memory (about 6 KB each); the whole memory is dropped past this.
constexpr int kMemoryLimit = 4096;

// A thumbnail read or made earlier, valid while both files keep these times.
struct Remembered {
    std::int64_t pictureTime;
    std::int64_t cacheTime;
    QImage thumbnail;
};

QHash<QString, Remembered>& Memory() {
    static QHash<QString, Remembered> memory;
    return memory;
}

void Remember(const QString& path, std::int64_t pictureTime, std::int64_t cacheTime,
              const QImage& thumbnail) {
    auto& memory = Memory();
    if (memory.size() >= kMemoryLimit)
        memory.clear();
    memory.insert(path, {pictureTime, cacheTime, thumbnail});
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
    Memory().clear();
}

QImage GetThumbnail(const QString& path) {
    if (!FileExists(path))
        return {};
    const auto pictureTime = GetFileWriteTime(path);
    if (!pictureTime)
        return {};
    const QString cachePath = ThumbnailPath(path);
    const auto cacheTime = GetFileWriteTime(cachePath);

    try {
        if (cacheTime && *cacheTime == *pictureTime && FileExists(cachePath)) {
            const auto found = Memory().constFind(path);
            if (found != Memory().constEnd() && found->pictureTime == *pictureTime &&
                found->cacheTime == *cacheTime) {
                ++ThumbnailWork().memoryHits;
                return found->thumbnail;
            }
            ++ThumbnailWork().cacheFileReads;
            QImage thumbnail = DecodeBmp(ReadWholeFile(cachePath));
            if (thumbnail.width() > kBox || thumbnail.height() > kBox)
                return {}; // not a thumbnail this program wrote
            Remember(path, *pictureTime, *cacheTime, thumbnail);
            return thumbnail;
        }

        ++ThumbnailWork().pictureDecodes;
        const DecodedPicture picture = LoadPictureAtLeast(path, ThumbnailSize);
        QImage thumbnail = MakeThumbnail(picture.image, picture.pictureSize);
        ReplaceFileContents(cachePath, EncodeBmp(thumbnail));
        if (!SetFileWriteTime(cachePath, *pictureTime))
            return {};
        Remember(path, *pictureTime, *pictureTime, thumbnail);
        return thumbnail;
    } catch (const std::exception&) {
        return {}; // damaged picture or cache, unwritable folder: no thumbnail
    }
}
