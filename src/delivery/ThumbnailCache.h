#pragma once

// Thumbnails of the library's pictures, each kept on disk beside its picture as
// "<picture>.thb": an uncompressed BMP whose last-write time equals the picture's. While the two
// times are equal the file is used; otherwise it is made again.

#include <QImage>
#include <QSize>
#include <QString>

// The thumbnail size for a picture of this size: small pictures keep their size, larger ones
// fit 40x40 with the shorter side rounded to nearest, halves to even.
QSize ThumbnailSize(QSize picture);

// Draws `picture` (which may be a reduced decode of a picture of `pictureSize`) stretched onto
// a new white bitmap of ThumbnailSize(pictureSize).
QImage MakeThumbnail(const QImage& picture, QSize pictureSize);

// The thumbnail of the picture at `path`, from its cache file or newly made and saved; a null
// image when there is none: missing or undecodable picture, cache that cannot be saved, or a
// cache file with the right time that cannot be read. Never throws.
QImage GetThumbnail(const QString& path);

// The cache file's path for a picture.
QString ThumbnailPath(const QString& picturePath);

// What GetThumbnail has done since the last reset; lets tests and benchmarks see the work.
struct ThumbnailCounters {
    int pictureDecodes = 0;
    int cacheFileReads = 0;
    int memoryHits = 0;
};
ThumbnailCounters& ThumbnailWork();
// Forgets the thumbnails kept in memory.
void ClearThumbnailMemory();
