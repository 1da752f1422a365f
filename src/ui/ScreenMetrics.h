#pragma once

#include <QGuiApplication>
#include <QRect>
#include <QScreen>

// The primary screen's rectangle (the bar and the popups) and work area (the preview), in Qt's
// device-independent pixels. With several monitors the primary one need not start at (0, 0):
// every placement works with these rectangles' edges, not with sizes alone.
inline QRect screenRect() {
    return QGuiApplication::primaryScreen()->geometry();
}
inline QRect workAreaRect() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}
