#pragma once

#include <QPoint>
#include <QString>

// The state of a press on a popup entry and of the drag it may become. It outlives the
// entries: a drop may refill or hide the popups, and with them free the entry that started it.
class DragSession {
public:
    // A button went down on an entry at `globalPosition`.
    void press(QPoint globalPosition) {
        pressed_ = true;
        pressPoint_ = globalPosition;
    }
    void release() { pressed_ = false; }
    bool isPressed() const { return pressed_; }
    QPoint pressPoint() const { return pressPoint_; }

    // While a drag runs, clicks neither paste nor open anything, and re-entering the folder
    // whose submenu is open opens it afresh.
    bool isDragging() const { return dragging_; }
    void start(const QString& sourcePath) {
        dragging_ = true;
        sourcePath_ = sourcePath;
    }
    // The end of every drag, dropped or cancelled.
    void finish() {
        dragging_ = false;
        sourcePath_.clear();
    }
    const QString& sourcePath() const { return sourcePath_; }

private:
    bool pressed_ = false;
    QPoint pressPoint_;
    bool dragging_ = false;
    QString sourcePath_;
};
