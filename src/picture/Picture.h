#pragma once

// Decoding the library's pictures (BMP, JPEG, GIF, PNG) into QImage, and writing BMP.
// Damaged, truncated or hostile files raise PictureError; nothing allocates past the budget.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

#include "platform/FileError.h"

#include <atomic>
#include <functional>
#include <optional>
#include <stdexcept>

// The most pixels one decode produces: 128 MB as 32-bit pixels. An emoticon tool shows
// pictures at most a few hundred pixels wide, and pastes photos, not posters; a picture above
// this is refused, unless its format lets it be decoded reduced (JPEG), up to MaxDeclaredPixels.
inline constexpr qint64 MaxDecodedPixels = 32LL * 1000 * 1000;
inline constexpr qint64 MaxDeclaredPixels = 64LL * 1000 * 1000;

enum class PictureKind { None, Bmp, Jpeg, Gif, Png };

// The format's usual name ("BMP", "JPEG", "GIF", "PNG"; empty for None).
const char* pictureFormatName(PictureKind format);

// Why a picture could not be decoded.
enum class PictureProblem {
    Damaged,     // the file's structure is broken
    Undecodable, // the format's decoder refused it; detail: its own words, if any
    UnsupportedCompression,
    UnsupportedDepth,
    OutOfMemory,
    Cancelled,
    InvalidSize,
    TooLarge,     // size: what the picture claims
    TooManyScans, // a progressive JPEG past the limit; detail: the limit
    UnsupportedFormat,
    Unreadable, // the file could not be read: fileError() says why
};

// A picture that could not be decoded, as a value: the problem, the format whose decoder met
// it (None where the format does not matter), and what the problem names. The sentence the
// user reads is made by the interface; what() is a plain English line for the logs.
class PictureError : public std::runtime_error {
public:
    explicit PictureError(PictureProblem problem, PictureKind format = PictureKind::None,
                          const QString& detail = QString(), QSize size = QSize());
    explicit PictureError(const FileError& unreadable);

    PictureProblem problem() const { return problem_; }
    PictureKind format() const { return format_; }
    const QString& detail() const { return detail_; }
    QSize size() const { return size_; }
    const std::optional<FileError>& fileError() const { return fileError_; }
    // The same problem, met while decoding a file of `format`.
    PictureError inFormat(PictureKind format) const;

private:
    PictureProblem problem_;
    PictureKind format_;
    QString detail_;
    QSize size_;
    std::optional<FileError> fileError_;
};

// By the extension, without regard to the case of a-z: .bmp, .jpg/.jpeg, .gif, .png.
PictureKind pictureKindOf(const QString& path);
// By the first bytes of the file: what the picture really is, whatever its name says.
PictureKind pictureKindOfBytes(const QByteArray& bytes);
// Whether a picture's bytes end as a whole file of its kind ends (a GIF's trailer, a PNG's
// IEND chunk, a JPEG's end marker, a BMP's stated size): a file still being written does not.
bool pictureBytesEndWhole(const QByteArray& bytes);
// The extension the program gives a picture of `kind`: ".bmp", ".jpg", ".gif", ".png"; empty
// for None.
QString pictureExtension(PictureKind kind);

struct DecodedPicture {
    QImage image;      // may be smaller than the picture when decoded for a thumbnail
    QSize pictureSize; // the picture's own width and height
};

struct GifAnimation {
    QSize screen;
    QList<QImage> frames; // each composed at the full logical size (or fitted), ARGB
    QList<int> delaysMs;
};

// How an animation that is shown reduced is kept: frames larger than `box` are stored shrunk
// to fit it, and a raised `cancelled` stops the decoding between frames.
struct FrameFitting {
    QSize box;
    const std::atomic<bool>* cancelled = nullptr;
};

// A picture as the preview shows it.
struct PicturePreview {
    QSize pictureSize;    // the picture's own width and height
    QList<QImage> frames; // one, or every frame of a GIF; none larger than the box asked for
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
// The picture for showing within `box`: decoded reduced where the format allows, frames larger
// than the box shrunk to fit it. Throws PictureError, also when cancelled.
PicturePreview loadPicturePreview(const QString& path, QSize box,
                                  const std::atomic<bool>* cancelled);

// Format decoders, on the bytes of a whole file.
// A BMP claiming more than `mostPixels` is refused before anything is allocated for it.
QImage decodeBmp(const QByteArray& bytes, qint64 mostPixels = MaxDecodedPixels);
// A JPEG larger than MaxDecodedPixels comes reduced; `cancelled` stops it between rows.
DecodedPicture decodeJpeg(const QByteArray& bytes,
                          const std::function<QSize(QSize)>& targetFor = nullptr,
                          const std::atomic<bool>* cancelled = nullptr);
QImage decodePng(const QByteArray& bytes);
// With `firstFrameOnly` the result holds one frame, drawn on the GIF's background colour. The
// frames kept and the pixels decoded for them are bounded: an animation past the budget ends
// early, with the frames it has.
GifAnimation decodeGif(const QByteArray& bytes, bool firstFrameOnly,
                       const FrameFitting& fitting = {});

// The picture smoothly scaled to `size`, taking it by value: a picture with alpha is
// premultiplied in place first, where Qt's scaling would convert a second full-size copy.
QImage shrinkPicture(QImage picture, QSize size);

// An uncompressed 24-bit BMP file of the picture (alpha is dropped).
QByteArray encodeBmp(const QImage& image);

// Refuses sizes that are empty or above `limit` pixels.
void checkPictureSize(qint64 width, qint64 height, qint64 limit = MaxDecodedPixels);
