#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

typedef struct _XDisplay Display; // Xlib's, without its macros in every includer

// A second connection to the X server that reports every press of the left or right button
// on the screen (XInput2 raw events), also presses that other programs' windows receive.
class RawButtonWatcher {
public:
    explicit RawButtonWatcher(const char* displayName);
    ~RawButtonWatcher();
    RawButtonWatcher(const RawButtonWatcher&) = delete;
    RawButtonWatcher& operator=(const RawButtonWatcher&) = delete;

    // False when the X server has no XInput2.
    bool works() const { return display_ != nullptr; }
    // Selects the raw presses on the root window, or stops: an idle watcher costs nothing.
    void select(bool enabled);

    // Called for every press while selected.
    void setOnPress(std::function<void()> onPress) { onPress_ = std::move(onPress); }

private:
    void drain();

    std::function<void()> onPress_;

    Display* display_ = nullptr;
    int opcode_ = 0;
    std::unique_ptr<QSocketNotifier> notifier_;
};
