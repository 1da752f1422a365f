#pragma once

// How large a thumbnail is: on the screen (logical pixels, the popup's layout) and in its
// image (device pixels, so that a high-resolution screen shows it sharp).

#include <QImage>
#include <QSize>

// The side of the square a thumbnail fits in device pixels on a screen of this device pixel
// ratio: ThumbnailSide times the ratio (1 to 3), rounded up. At ratio 1 it is ThumbnailSide,
// the size of the `.thb` files.
int thumbnailSideFor(double devicePixelRatio);

// The thumbnail size for a picture of this size: small pictures keep their size, larger ones
// fit `side` x `side` with the shorter side rounded to nearest, halves to even.
QSize thumbnailSize(QSize picture, int side);
QSize thumbnailSize(QSize picture);

// The size in device pixels of the thumbnail made for `side`: the logical thumbnail size
// scaled by side / ThumbnailSide, so that it covers the thumbnail's logical rectangle pixel for
// pixel (a small picture is enlarged smoothly here instead of when painted).
QSize deviceThumbnailSize(QSize picture, int side);

// The logical size a thumbnail image is shown at: its size divided by its device pixel ratio,
// rounded (exact for every image deviceThumbnailSize gives).
QSize shownThumbnailSize(const QImage& thumbnail);

// Draws `picture` (which may be a reduced decode of a picture of `pictureSize`) stretched onto
// a new white bitmap of deviceThumbnailSize(pictureSize, side), whose device pixel ratio is
// side / ThumbnailSide.
QImage makeThumbnail(QImage picture, QSize pictureSize, int side);
QImage makeThumbnail(QImage picture, QSize pictureSize);
