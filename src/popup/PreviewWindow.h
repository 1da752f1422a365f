#pragma once

#include <QWidget>

#include <memory>

class Platform;
class PreviewLoader;
class PreviewPicture;
struct PicturePreview;
class PreviewText;
class QLabel;

// The preview window: a snippet's text (text mode) or a picture with its file name and size
// (picture mode), placed just below the hovered entry, or above it when there is no room.
// Never takes the focus and carries no window tag.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWindow(Platform& platform);
    ~PreviewWindow() override;

    // The rectangle the text needs when wrapped at maxWidth: width of the widest line (more
    // than maxWidth for a longer single word) and height of all lines.
    QRect textRect(int maxWidth, int maxHeight, const QString& text) const;
    // Text mode with the entry's font and the snippet's text, sized, placed at `at` and shown.
    void showText(const QFont& font, const QString& text, QPoint at);
    // Sizes the window for the current text and places it at the screen point.
    void placeForText(QPoint at);
    // Decodes the picture at `path` on a worker thread, then shows it under `caption` at `at`
    // (a caption ending in ".gif" plays). A picture that cannot be decoded is reported; hiding
    // the preview or a newer request cancels it.
    void requestPicture(const QString& path, const QString& caption, QPoint at);
    // The same, decoded at once (throws PictureError when it cannot); placeForPicture shows it.
    void loadPicture(const QString& path, const QString& caption);
    // Switches to picture mode, sizes the window for the loaded picture and places it at `at`.
    void placeForPicture(QPoint at);

    // What the preview shows, for tests.
    const PreviewText& textView() const { return *text_; }
    const PreviewPicture& pictureView() const { return *picture_; }
    QString sizeText() const;
    QString nameText() const;
    QRect nameGeometry() const;
    QRect sizeGeometry() const;
    int stripWidth() const;
    bool isPictureMode() const { return pictureMode_; }
    // Waits for the picture under way and shows it (tests).
    void waitForPicture();

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Places the window of `size` below and right of `at`, or left of it and `gapAbove` pixels
    // above it where it would pass the work area's edge; `mayTouchEdge`: ending just at the edge
    // still fits.
    void placeNear(QPoint at, QSize size, int gapAbove, bool mayTouchEdge);
    void realign();
    QSize pictureBox(QPoint at) const;
    void showPicture(const PicturePreview& picture, const QString& path, const QString& caption);

    Platform& platform_;
    QWidget* border_ = nullptr;
    QWidget* background_ = nullptr;
    PreviewText* text_ = nullptr;
    PreviewPicture* picture_ = nullptr;
    QWidget* strip_ = nullptr; // the picture's name and size under it
    QLabel* sizeLabel_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    QString fullName_;
    bool pictureMode_ = false;
    std::unique_ptr<PreviewLoader> loader_;
    QString requestedCaption_;
    QPoint requestedAt_;
};
