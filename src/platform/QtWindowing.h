#pragma once

// What every backend of the windowing platform does through Qt alone.

#include "platform/Platform.h"

#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>

class QMimeData;
class QString;
class QWidget;

// The Qt flags of a window that never takes the focus, has no taskbar entry and stays on top.
void applyNonActivatingFlags(QWidget* window, WindowRole role);

// The window tag as a Qt property of the widget; 0 when it has none.
void storeTagProperty(QWidget* window, std::uint32_t tag);
std::uint32_t tagProperty(const QWidget* window);

// The freedesktop file list naming `path`, as raw data (QMimeData::setUrls would add the URL
// as text, which a text field pastes).
void addUriList(QMimeData* data, const QString& path);

// Sees a press as the button state turning from up to down, looked at every 10 ms while
// watching: for a window system that reports no presses over other programs.
class ButtonPressPoller {
public:
    explicit ButtonPressPoller(std::function<bool()> buttonDown);
    // Calls `onPress` for every press from now on; an empty function stops (and the timer
    // with it: an idle poller costs nothing).
    void watch(std::function<void()> onPress);

private:
    std::function<bool()> buttonDown_;
    std::function<void()> onPress_;
    QTimer timer_;
    bool wasDown_ = false;
};
