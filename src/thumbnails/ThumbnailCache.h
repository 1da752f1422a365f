#pragma once

// Thumbnails of the library's pictures. Those of 40x40 are kept on disk beside their picture
// as "<picture>.thb": an uncompressed BMP whose last-write time equals the picture's. While the
// two times are equal the file is used; otherwise it is made again. Those made larger for
// high-resolution screens are kept in the user's cache folder (ScaledThumbnailFiles).

#include "library/ThumbnailName.h"
#include "picture/ThumbnailGeometry.h"
#include "thumbnails/ScaledThumbnailFiles.h"
#include "thumbnails/ThumbnailSize.h"

#include <QCache>
#include <QImage>
#include <QMutex>
#include <QSize>
#include <QString>

#include <atomic>
#include <cstdint>
#include <optional>

// What a look-up found, so that the decoding can run elsewhere.
struct ThumbnailLookup {
    enum class State { Ready, Nothing, NeedsMaking } state = State::Nothing;
    QImage thumbnail;             // when Ready
    std::int64_t pictureTime = 0; // when NeedsMaking: the time the cache file must carry
};

// What the cache has done since the last reset; lets tests and benchmarks see the work.
struct ThumbnailCounters {
    std::atomic<int> pictureDecodes = 0;
    std::atomic<int> cacheFileReads = 0;
    std::atomic<int> memoryHits = 0;
};

// The thumbnail files, and the thumbnails read or made earlier kept in memory. Safe on any
// thread.
class ThumbnailCache {
public:
    // Thumbnails kept in memory hold at most `memoryLimit` bytes of pixels, the least
    // recently used going first.
    // Thumbnails larger than 40x40 are kept in `scaledFolder` (none: in memory only).
    explicit ThumbnailCache(qsizetype memoryLimit = DefaultMemoryLimit,
                            const QString& scaledFolder = {});
    // About 5,000 thumbnails of 40x40 (1,250 at 2x): more than a screenful of popups, little
    // beside the program's own 60 MB.
    static constexpr qsizetype DefaultMemoryLimit = 32 * 1024 * 1024;

    // The thumbnail of the picture at `path` fitting `side` device pixels (thumbnailSideFor), from
    // its cache file or newly made and saved; a null image when there is none: missing or
    // undecodable picture, a `.thb` that cannot be saved, or one with the right time that
    // cannot be read. Never throws.
    QImage thumbnail(const QString& path, int side = ThumbnailSide);

    // thumbnail() in two steps: the look-up reads the cache (file or memory) but never decodes
    // the picture; makeFile decodes it and saves the cache file (a `.thb` with `pictureTime`)
    // (null when any step fails).
    ThumbnailLookup lookUp(const QString& path, int side = ThumbnailSide);
    QImage makeFile(const QString& path, std::int64_t pictureTime, int side = ThumbnailSide);

    // Clears the scaled thumbnails' folder of files no picture needs any more (a background
    // job at start).
    ScaledThumbnailFiles::Tidied
    tidyScaledFiles(qint64 budgetBytes = ScaledThumbnailFiles::DefaultBudget);
    const ScaledThumbnailFiles& scaledFiles() const { return scaledFiles_; }

    // Forgets the thumbnails kept in memory.
    void clearMemory();
    // Forgets those of the picture at `path`, or of every picture inside the folder `path`: it
    // moved, and a picture that comes to its name (with its cache file) is another one.
    void forget(const QString& path);
    // What the thumbnails kept in memory hold, in bytes of pixels.
    qsizetype memoryBytes() const;
    ThumbnailCounters& counters() { return counters_; }
    void resetCounters();

private:
    // Valid while the picture keeps its time (the look-up checks the cache file's time first).
    struct Remembered {
        std::int64_t pictureTime;
        QImage thumbnail;
    };
    ThumbnailLookup lookUpScaled(const QString& path, std::int64_t pictureTime, int side);
    QImage makeScaled(const QString& path, std::int64_t pictureTime, int side);
    void remember(const QString& path, int side, std::int64_t pictureTime, const QImage& thumbnail);
    std::optional<QImage> recall(const QString& path, int side, std::int64_t pictureTime);

    mutable QMutex memoryLock_;
    QCache<QString, Remembered> memory_; // keyed by memoryKey(path, side)
    ThumbnailCounters counters_;
    ScaledThumbnailFiles scaledFiles_;
};
