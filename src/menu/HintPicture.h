#pragma once

#include <QImage>
#include <QList>
#include <QTimer>
#include <QWidget>

// The picture of the image mode: centred, shrunk keeping its aspect when larger than its area,
// never enlarged; a GIF plays its frames.
class HintPicture : public QWidget {
    Q_OBJECT
public:
    explicit HintPicture(QWidget* parent);
    void SetFrames(const QList<QImage>& frames, const QList<int>& delaysMs, bool animate);
    void Clear();
    bool HasPicture() const { return !frames_.isEmpty(); }
    QSize PictureSize() const { return frames_.isEmpty() ? QSize() : frames_.first().size(); }
    int CurrentFrame() const { return current_; }
    bool Animating() const { return timer_.isActive(); }
    // Where the picture is drawn inside the widget.
    QRect PictureRect() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void NextFrame();
    QList<QImage> frames_;
    QList<int> delays_;
    int current_ = 0;
    QTimer timer_;
};
