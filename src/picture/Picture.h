#pragma once

// Decoding the library's pictures (BMP, JPEG, GIF, PNG) into QImage, and writing BMP.
// Damaged, truncated or hostile files raise PictureError; nothing allocates past the budget.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

#include <functional>
#include <stdexcept>

// Pictures whose pixel count is above this are refused (about 256 MB as 32-bit pixels).
inline constexpr qint64 MaxPicturePixels = 64LL * 1000 * 1000;

class PictureError : public std::runtime_error {
public:
    explicit PictureError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

enum class PictureKind { None, Bmp, Jpeg, Gif, Png };

// By the extension, without regard to the case of a-z: .bmp, .jpg/.jpeg, .gif, .png.
PictureKind pictureKindOf(const QString& path);

struct DecodedPicture {
    QImage image;      // may be smaller than the picture when decoded for a thumbnail
    QSize pictureSize; // the picture's own width and height
};

struct GifAnimation {
    QSize screen;
    QList<QImage> frames; // each composed at the full logical size, ARGB
    QList<int> delaysMs;
};

// The whole picture; a GIF as its first frame at the GIF's full size on its background colour.
DecodedPicture loadPicture(const QString& path);
// The picture decoded at the smallest size that still covers `targetFor(picture size)` where
// the format allows (JPEG by DCT scaling); otherwise as loadPicture.
DecodedPicture loadPictureAtLeast(const QString& path,
                                  const std::function<QSize(QSize)>& targetFor);
// Every frame of a GIF, composed with its disposal, transparency and delays.
GifAnimation loadGifAnimation(const QString& path);

// Format decoders, on the bytes of a whole file.
QImage decodeBmp(const QByteArray& bytes);
DecodedPicture decodeJpeg(const QByteArray& bytes,
                          const std::function<QSize(QSize)>& targetFor = nullptr);
QImage decodePng(const QByteArray& bytes);
// With `firstFrameOnly` the result holds one frame, drawn on the GIF's background colour.
GifAnimation decodeGif(const QByteArray& bytes, bool firstFrameOnly);

// An uncompressed 24-bit BMP file of the picture (alpha is dropped).
QByteArray encodeBmp(const QImage& image);

// Refuses sizes that are empty or above the budget.
void checkPictureSize(qint64 width, qint64 height);
