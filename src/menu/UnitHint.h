#pragma once

#include <QImage>
#include <QList>
#include <QTimer>
#include <QWidget>

class TMenuItem;
class HintText;
class HintPicture;
class QLabel;

// The preview window: a snippet's text (text mode) or a picture with its file name and size
// (image mode), placed just below the hovered entry, or above it when there is no room. Never
// takes the focus and carries no window tag.
class TFmHint : public QWidget {
    Q_OBJECT
public:
    TFmHint();
    ~TFmHint() override;

    // The rectangle the text needs when wrapped at maxWidth: width of the widest line (more
    // than maxWidth for a longer single word) and height of all lines.
    QRect CalcHintRect(int maxWidth, int maxHeight, const QString& hint) const;
    // Sizes the window for the current text and places it at the screen point.
    void SetHint(QPoint pt);
    // Loads the picture of a picture node (throws PictureError when it cannot).
    void GetHintImage(TMenuItem* node);
    // Switches to image mode, sizes the window for the loaded picture and places it at pt.
    void SetImage(QPoint pt);
    // Text mode with the entry's font and the snippet's text, sized, placed at pt and shown.
    void ShowText(const QFont& font, const QString& text, QPoint pt);

    QWidget* PanelBorder = nullptr;
    QWidget* PanelBk = nullptr;
    HintText* LabelTextHint = nullptr;
    HintPicture* Image1 = nullptr;
    QWidget* PanelImgHint = nullptr;
    QLabel* LabelImgHint = nullptr;
    QLabel* LabelName = nullptr;

    int ClientWidth() const { return width(); }
    int ClientHeight() const { return height(); }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void SetClientSize(int width, int height);
    void Realign();
    bool imageMode_ = false;
};

// The text of the text mode: wraps at word breaks, cut at the bottom and right.
class HintText : public QWidget {
    Q_OBJECT
public:
    explicit HintText(QWidget* parent);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString caption_;
};

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

extern TFmHint* FmHint;
