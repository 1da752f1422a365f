#include "thumbnails/ThumbnailSize.h"

#include "picture/Picture.h"
#include "picture/ThumbnailGeometry.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
int roundHalfToEven(double value) {
    return static_cast<int>(std::nearbyint(value)); // the default rounding mode: to even
}

double ratioOf(int side) {
    return static_cast<double>(side) / ThumbnailSide;
}
} // namespace

int thumbnailSideFor(double devicePixelRatio) {
    const double ratio = std::clamp(devicePixelRatio, 1.0, 3.0);
    // 40 x 1.1 is 44.000000000000007 in doubles: that is a side of 44, not 45.
    return static_cast<int>(std::ceil(ThumbnailSide * ratio - 1e-6));
}

QSize thumbnailSize(QSize picture, int side) {
    const int w = picture.width();
    const int h = picture.height();
    if (w <= side && h <= side)
        return picture;
    // A very long or very tall picture still keeps a side of one pixel.
    if (w > h)
        return {side, std::max(1, roundHalfToEven(static_cast<double>(h) / w * side))};
    return {std::max(1, roundHalfToEven(static_cast<double>(w) / h * side)), side};
}

QSize thumbnailSize(QSize picture) {
    return thumbnailSize(picture, ThumbnailSide);
}

QSize deviceThumbnailSize(QSize picture, int side) {
    const QSize shown = thumbnailSize(picture);
    if (side == ThumbnailSide || shown.isEmpty())
        return shown;
    const double ratio = ratioOf(side);
    return {std::max(1, static_cast<int>(std::lround(shown.width() * ratio))),
            std::max(1, static_cast<int>(std::lround(shown.height() * ratio)))};
}

QSize shownThumbnailSize(const QImage& thumbnail) {
    const double ratio = thumbnail.devicePixelRatio();
    if (ratio == 1.0)
        return thumbnail.size();
    // A device size rounded from shown x ratio is within half a pixel of it, and ratio > 1:
    // dividing and rounding gives the shown size back.
    return {std::max(1, static_cast<int>(std::lround(thumbnail.width() / ratio))),
            std::max(1, static_cast<int>(std::lround(thumbnail.height() / ratio)))};
}

QImage makeThumbnail(QImage picture, QSize pictureSize, int side) {
    const QSize size = deviceThumbnailSize(pictureSize, side);
    QImage thumbnail(size, QImage::Format_RGB32);
    thumbnail.fill(Qt::white);
    if (!size.isEmpty()) {
        QPainter painter(&thumbnail);
        painter.drawImage(QPoint(0, 0), shrinkPicture(std::move(picture), size));
    }
    thumbnail.setDevicePixelRatio(ratioOf(side));
    return thumbnail;
}

QImage makeThumbnail(QImage picture, QSize pictureSize) {
    return makeThumbnail(std::move(picture), pictureSize, ThumbnailSide);
}
