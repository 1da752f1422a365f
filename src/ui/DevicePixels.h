#pragma once

#include <QPainter>
#include <QPointF>
#include <QSize>
#include <QTransform>

#include <cmath>

// The logical point nearest `point` that falls on a whole device pixel of what `painter`
// paints on: an image made at the device's resolution drawn from there is copied pixel for
// pixel, without resampling (the popup's origin may sit half a device pixel off at ratio 1.5).
inline QPointF snapToDevicePixel(const QPainter& painter, QPointF point) {
    const QTransform toDevice = painter.deviceTransform();
    const QPointF device = toDevice.map(point);
    return toDevice.inverted().map(QPointF(std::round(device.x()), std::round(device.y())));
}

// Whether an image of `pixels` covers `logical` pixel for pixel at `ratio` (to a pixel of
// rounding either way).
inline bool coversPixelForPixel(QSize pixels, QSizeF logical, qreal ratio) {
    return std::abs(logical.width() * ratio - pixels.width()) <= 1 &&
           std::abs(logical.height() * ratio - pixels.height()) <= 1;
}
