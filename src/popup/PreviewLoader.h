#pragma once

#include "picture/Picture.h"

#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <memory>

// Decodes the preview's picture on a worker thread, so that resting on a large or hostile
// picture never stops the popups. Only the newest request counts: a new one, or cancel(),
// stops the older one, queued or under way (the decoders look between rows and frames).
class PreviewLoader : public QObject {
    Q_OBJECT
public:
    PreviewLoader();
    ~PreviewLoader() override;

    void request(const QString& path, QSize box);
    void cancel();
    // Waits until the request under way is done and delivers its answer (tests).
    void waitForIdle();

signals:
    void loaded(const QString& path, const PicturePreview& preview);
    void failed(const QString& path, const QString& message);

private:
    QThreadPool pool_;
    std::shared_ptr<std::atomic<bool>> cancelled_; // the current request's flag
    int generation_ = 0;
};
