#pragma once

#include "picture/Picture.h"

#include <QImage>
#include <QList>
#include <QTimer>
#include <QWidget>

// The picture of the image mode: centred, shrunk keeping its aspect when larger than its area,
// never enlarged; a GIF plays its frames. The frames may be smaller than the picture (decoded
// reduced): the picture's own size decides where it is drawn.
class PreviewPicture : public QWidget {
    Q_OBJECT
public:
    explicit PreviewPicture(QWidget* parent);
    void setPicture(const PicturePreview& picture, bool animate);
    void clear();
    bool hasPicture() const { return !frames_.isEmpty(); }
    QSize pictureSize() const { return frames_.isEmpty() ? QSize() : pictureSize_; }
    int currentFrame() const { return current_; }
    bool isAnimating() const { return timer_.isActive(); }
    // Where the picture is drawn inside the widget.
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void nextFrame();
    QSize pictureSize_;
    QList<QImage> frames_;
    QList<int> delays_;
    int current_ = 0;
    QTimer timer_;
};
