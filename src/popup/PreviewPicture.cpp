#include "popup/PreviewPicture.h"

#include "ui/DevicePixels.h"

#include <QPainter>

PreviewPicture::PreviewPicture(QWidget* parent) : QWidget(parent) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &PreviewPicture::nextFrame);
}

void PreviewPicture::setPicture(const PicturePreview& picture, bool animate) {
    pictureSize_ = picture.pictureSize;
    frames_ = picture.frames;
    delays_ = picture.delaysMs;
    current_ = 0;
    timer_.stop();
    if (animate && frames_.size() > 1)
        timer_.start(std::max(20, delays_.value(0) > 0 ? delays_.value(0) : 100));
    update();
}

void PreviewPicture::clear() {
    timer_.stop();
    frames_.clear();
    delays_.clear();
    current_ = 0;
    update();
}

void PreviewPicture::nextFrame() {
    if (frames_.size() < 2)
        return;
    current_ = (current_ + 1) % static_cast<int>(frames_.size());
    const int delay = delays_.value(current_);
    timer_.start(std::max(20, delay > 0 ? delay : 100));
    update();
}

QRect PreviewPicture::pictureRect() const {
    if (frames_.isEmpty())
        return {};
    QSize size = pictureSize_;
    if (size.width() > width() || size.height() > height())
        size.scale(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void PreviewPicture::paintEvent(QPaintEvent*) {
    if (frames_.isEmpty())
        return;
    QPainter painter(this);
    const QRect target = pictureRect();
    const qreal ratio = devicePixelRatioF();
    QImage frame = frames_[current_];
    // A frame decoded for this screen is copied pixel for pixel; one decoded for another
    // screen (the preview moved since) is scaled smoothly.
    if (coversPixelForPixel(frame.size(), QSizeF(target.size()), ratio)) {
        frame.setDevicePixelRatio(ratio);
        painter.drawImage(snapToDevicePixel(painter, target.topLeft()), frame);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, frame);
}
