#pragma once

#include <QGuiApplication>
#include <QScreen>

// The primary screen's size (popups and the bar) and work area (the preview), in Qt's
// device-independent pixels.
inline int screenWidth() {
    return QGuiApplication::primaryScreen()->geometry().width();
}
inline int screenHeight() {
    return QGuiApplication::primaryScreen()->geometry().height();
}
inline int workAreaWidth() {
    return QGuiApplication::primaryScreen()->availableGeometry().width();
}
inline int workAreaHeight() {
    return QGuiApplication::primaryScreen()->availableGeometry().height();
}
