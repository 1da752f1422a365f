#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

// The centre of the pixels of `colour` within `area` of a screenshot; null when fewer than
// `least` of them show (a picture not there yet, or covered).
inline QPoint FindColour(const QImage& screen, const QRect& area, QRgb colour, int least) {
    long long sumX = 0, sumY = 0, count = 0;
    const QRect inside = area.intersected(screen.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (screen.pixel(x, y) == colour) {
                sumX += x;
                sumY += y;
                ++count;
            }
    if (count < least)
        return {};
    return QPoint(static_cast<int>(sumX / count), static_cast<int>(sumY / count));
}
