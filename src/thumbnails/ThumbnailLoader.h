#pragma once

#include "picture/ThumbnailGeometry.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <cstdint>

class ThumbnailCache;

// Thumbnails for painting: what the cache holds comes at once; a thumbnail that must be made
// from its picture is made on a worker thread (one a core, below the interface's priority,
// the newest request first), so that opening a folder of large photos never freezes the popup.
// ready(path, thumbnail) follows and carries it, so that painting never reads a file.
class ThumbnailLoader : public QObject {
    Q_OBJECT
public:
    explicit ThumbnailLoader(ThumbnailCache& cache);
    ~ThumbnailLoader() override;

    // The thumbnail fitting `side` device pixels when the cache has it; otherwise null, and,
    // unless it failed before for this version of the picture or is already on its way, it is
    // made in the background.
    QImage thumbnail(const QString& path, int side = ThumbnailSide);
    // Starts clearing the scaled thumbnails' folder of files no picture needs any more.
    void tidyScaledFiles();
    // Drops the requests that have not started (the popup that asked for them closed); a new
    // request for the same picture is served afresh.
    void cancelPending();
    // The picture or folder at `path` moved: what was kept for it is forgotten.
    void forget(const QString& path);
    // Waits for the request under way (tests, shutdown).
    void waitForIdle();
    bool busy() const;

signals:
    // A thumbnail asked for was made (null: the picture gives none). Its side is that of its
    // device pixel ratio: thumbnailSideFor(thumbnail.devicePixelRatio()).
    void ready(const QString& path, const QImage& thumbnail);

private:
    void finished(const QString& key, const QString& path, std::int64_t pictureTime,
                  const QImage& thumbnail, int generation);

    ThumbnailCache& cache_;
    QThreadPool pool_;
    QThreadPool tidying_;
    // Keyed by requestKey(path, side):
    QHash<QString, int> pending_;         // the generation that asked for it
    QHash<QString, std::int64_t> failed_; // the picture time that failed
    std::atomic<int> generation_ = 0;
    int requests_ = 0; // also the priority of the next request: the newest runs first
};
