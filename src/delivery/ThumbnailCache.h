#pragma once

// Thumbnails of the library's pictures, each kept on disk beside its picture as
// "<picture>.thb": an uncompressed BMP whose last-write time equals the picture's. While the two
// times are equal the file is used; otherwise it is made again.

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <cstdint>

// The thumbnail size for a picture of this size: small pictures keep their size, larger ones
// fit 40x40 with the shorter side rounded to nearest, halves to even.
QSize ThumbnailSize(QSize picture);

// Draws `picture` (which may be a reduced decode of a picture of `pictureSize`) stretched onto
// a new white bitmap of ThumbnailSize(pictureSize).
QImage MakeThumbnail(const QImage& picture, QSize pictureSize);

// The thumbnail of the picture at `path`, from its cache file or newly made and saved; a null
// image when there is none: missing or undecodable picture, cache that cannot be saved, or a
// cache file with the right time that cannot be read. Never throws. Safe on any thread.
QImage GetThumbnail(const QString& path);

// GetThumbnail in two steps, so that the decoding can run elsewhere: the look-up reads the
// cache (file or memory) but never decodes the picture.
struct ThumbnailLookup {
    enum State { Ready, Nothing, NeedsMaking } state = Nothing;
    QImage thumbnail;             // when Ready
    std::int64_t pictureTime = 0; // when NeedsMaking: the time the cache file must carry
};
ThumbnailLookup LookUpThumbnail(const QString& path);
// Decodes the picture, saves the cache file with `pictureTime`; null when any step fails.
QImage MakeThumbnailFile(const QString& path, std::int64_t pictureTime);

// The cache file's path for a picture.
QString ThumbnailPath(const QString& picturePath);

// What GetThumbnail has done since the last reset; lets tests and benchmarks see the work.
struct ThumbnailCounters {
    std::atomic<int> pictureDecodes = 0;
    std::atomic<int> cacheFileReads = 0;
    std::atomic<int> memoryHits = 0;
};
ThumbnailCounters& ThumbnailWork();
void ResetThumbnailWork();
// Forgets the thumbnails kept in memory.
void ClearThumbnailMemory();
