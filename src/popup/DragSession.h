#pragma once

#include <QPoint>
#include <QString>

// The state of a press on a popup entry and of the drag it may become. It outlives the
// entries: a drop may refill or hide the popups, and with them free the entry that started it.
class DragSession {
public:
    enum class State {
        Idle,
        Pressed,  // a button is down on an entry, not yet moved far enough to drag
        Dragging, // a drag runs (its button is still down until it drops)
    };
    State state() const { return state_; }

    // A button went down on an entry at `globalPosition`.
    void press(QPoint globalPosition) {
        state_ = State::Pressed;
        pressPoint_ = globalPosition;
    }
    // The button came up; a drag under way goes on until finish().
    void release() {
        if (state_ == State::Pressed)
            state_ = State::Idle;
    }
    bool isPressed() const { return state_ == State::Pressed; }
    QPoint pressPoint() const { return pressPoint_; }

    // While a drag runs, clicks neither paste nor open anything, and re-entering the folder
    // whose submenu is open opens it afresh.
    bool isDragging() const { return state_ == State::Dragging; }
    void start(const QString& sourcePath) {
        state_ = State::Dragging;
        sourcePath_ = sourcePath;
    }
    // The end of every drag, dropped or cancelled.
    void finish() {
        state_ = State::Idle;
        sourcePath_.clear();
    }
    const QString& sourcePath() const { return sourcePath_; }

private:
    State state_ = State::Idle;
    QPoint pressPoint_;
    QString sourcePath_;
};
