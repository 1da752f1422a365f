// PNG through libpng's simplified API, which reads every colour type into 8-bit BGRA.

#include "picture/Picture.h"

#include <QtEndian>

#include <png.h>

namespace {
// Walks the chunks: one that claims more bytes than the file holds is refused before libpng
// sees it, which would allocate what the length claims (2 GB for a 41-byte file).
void checkChunkLengths(const QByteArray& bytes) {
    qsizetype at = 8; // after the signature
    while (at + 8 <= bytes.size()) {
        const quint32 length = qFromBigEndian<quint32>(bytes.constData() + at);
        if (static_cast<qint64>(length) > static_cast<qint64>(bytes.size() - at - 12))
            throw PictureError(PictureProblem::Damaged, PictureKind::Png);
        if (bytes.mid(at + 4, 4) == "IEND")
            return;
        at += 12 + static_cast<qsizetype>(length);
    }
}
} // namespace

QImage decodePng(const QByteArray& bytes) {
    checkChunkLengths(bytes);
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.constData(),
                                          static_cast<size_t>(bytes.size())))
        throw PictureError(PictureProblem::Undecodable, PictureKind::Png,
                           QString::fromLocal8Bit(png.message));
    try {
        checkPictureSize(png.width, png.height);
    } catch (...) {
        png_image_free(&png);
        throw;
    }
    png.format = PNG_FORMAT_BGRA; // QImage::Format_ARGB32 on a little-endian machine
    QImage image(static_cast<int>(png.width), static_cast<int>(png.height), QImage::Format_ARGB32);
    if (image.isNull()) {
        png_image_free(&png);
        throw PictureError(PictureProblem::OutOfMemory);
    }
    if (!png_image_finish_read(&png, nullptr, image.bits(),
                               static_cast<png_int_32>(image.bytesPerLine()), nullptr)) {
        const QString message = QString::fromLocal8Bit(png.message);
        png_image_free(&png);
        throw PictureError(PictureProblem::Undecodable, PictureKind::Png, message);
    }
    return image;
}
