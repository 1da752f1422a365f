#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>

#include <string>

// Measures of pictures shown on the screen, for the tests of sharp drawing.

// How far two images of one size lie apart: the mean and the largest difference of a channel.
struct ImageDifference {
    double mean = 0;
    int largest = 0;
};
ImageDifference CompareImages(const QImage& a, const QImage& b);

// "same", or where two images first differ (or their sizes), for a failure message.
std::string FirstDifference(const QImage& a, const QImage& b);

// The root mean square of the brightness steps between neighbouring pixels: higher is sharper.
// (The plain mean would not do: an edge blurred over four pixels makes four steps adding up to
// the one of a sharp edge.)
double GradientEnergy(const QImage& image);

// `picture` reduced (or enlarged) to `size` with Qt's smooth filter, as RGB32.
QImage SmoothlyScaled(const QImage& picture, QSize size);

// The device pixels of `image` (with its device pixel ratio) under the logical rectangle
// `logical`, as an image of ratio 1.
QImage DevicePart(const QImage& image, const QRectF& logical);
