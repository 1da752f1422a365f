#pragma once

#include <QTimer>
#include <QWidget>

class Platform;

// A short note beside the bar when a picture or snippet went onto the clipboard but the
// program could not press Ctrl+V itself (a Wayland desktop without the permission): the user
// pastes by hand. Never takes the focus; goes by itself after a few seconds, at a press on
// it, or when the next popup opens.
class CopiedNotice : public QWidget {
public:
    static constexpr int ShownMs = 4000;

    explicit CopiedNotice(Platform& platform);

    // Shows the note below `anchor` (the bar), or above it at the bottom of the screen.
    void showBeside(const QRect& anchor);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString text_;
    QTimer hideTimer_;
};
