#pragma once

#include <QTimer>
#include <QWidget>

class Platform;

// A short note beside the bar: a picture or snippet went onto the clipboard but the program
// could not press Ctrl+V itself (a Wayland desktop without the permission), or what a drop from
// another program left out. Never takes the focus; goes by itself after a few seconds (longer
// for a longer text), at a press on it, or when the next popup opens.
class BarNotice : public QWidget {
public:
    static constexpr int ShownMs = 4000;

    explicit BarNotice(Platform& platform);

    // Shows the note below `anchor` (the bar), or above it at the bottom of the screen: the
    // clipboard's note, or `text` (lines).
    void showBeside(const QRect& anchor);
    void showBeside(const QRect& anchor, const QString& text);
    const QString& text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString text_;
    QTimer hideTimer_;
};
