// PNG through libpng's simplified API, which reads every colour type into 8-bit BGRA.

#include "picture/Picture.h"

#include <png.h>

QImage decodePng(const QByteArray& bytes) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.constData(),
                                          static_cast<size_t>(bytes.size())))
        throw PictureError(
            QStringLiteral("PNG 文件无法解码：%1").arg(QString::fromLocal8Bit(png.message)));
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
        throw PictureError(QStringLiteral("内存不足。"));
    }
    if (!png_image_finish_read(&png, nullptr, image.bits(),
                               static_cast<png_int_32>(image.bytesPerLine()), nullptr)) {
        const QString message = QString::fromLocal8Bit(png.message);
        png_image_free(&png);
        throw PictureError(QStringLiteral("PNG 文件无法解码：%1").arg(message));
    }
    return image;
}
