#pragma once

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

extern TFmHint* FmHint;
