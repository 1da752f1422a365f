#include "popup/PreviewLoader.h"

#include "platform/Logging.h"
#include "ui/ErrorText.h"

#include <QCoreApplication>

PreviewLoader::PreviewLoader() : cancelled_(std::make_shared<std::atomic<bool>>(false)) {
    // One worker: a newer request waits only for the older one to notice its flag.
    pool_.setMaxThreadCount(1);
}

PreviewLoader::~PreviewLoader() {
    cancel();
    pool_.waitForDone();
}

void PreviewLoader::request(const QString& path, QSize box) {
    cancel();
    const int generation = generation_;
    const std::shared_ptr<std::atomic<bool>> cancelled = cancelled_;
    pool_.start([this, path, box, generation, cancelled] {
        if (cancelled->load())
            return;
        PicturePreview preview;
        QString failure;
        try {
            preview = loadPicturePreview(path, box, cancelled.get());
        } catch (const std::exception& error) {
            failure = errorText(error);
            qCWarning(lcThumbs) << "no preview for" << path << error.what();
        }
        QMetaObject::invokeMethod(
            this,
            [this, path, preview = std::move(preview), failure, generation] {
                if (generation != generation_)
                    return; // a newer request or a cancel came meanwhile
                if (failure.isEmpty())
                    emit loaded(path, preview);
                else
                    emit failed(path, failure);
            },
            Qt::QueuedConnection);
    });
}

void PreviewLoader::cancel() {
    cancelled_->store(true);
    cancelled_ = std::make_shared<std::atomic<bool>>(false);
    ++generation_;
    pool_.clear();
}

void PreviewLoader::waitForIdle() {
    pool_.waitForDone();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}
