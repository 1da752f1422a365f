#pragma once

#include <QGuiApplication>
#include <QScreen>

// The primary screen's size (popups and the bar) and work area (the preview), in Qt's
// device-independent pixels.
inline int ScreenWidth() {
    return QGuiApplication::primaryScreen()->geometry().width();
}
inline int ScreenHeight() {
    return QGuiApplication::primaryScreen()->geometry().height();
}
inline int WorkAreaWidth() {
    return QGuiApplication::primaryScreen()->availableGeometry().width();
}
inline int WorkAreaHeight() {
    return QGuiApplication::primaryScreen()->availableGeometry().height();
}
