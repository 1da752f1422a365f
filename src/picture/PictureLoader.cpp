#include "picture/Picture.h"

#include "base/NameCompare.h"
#include "platform/FileSystem.h"

PictureKind pictureKindOf(const QString& path) {
    const QString extension = extractExtension(path.mid(path.lastIndexOf(PathSeparator) + 1));
    if (sameText(extension, QStringLiteral(".bmp")))
        return PictureKind::Bmp;
    if (sameText(extension, QStringLiteral(".jpg")) || sameText(extension, QStringLiteral(".jpeg")))
        return PictureKind::Jpeg;
    if (sameText(extension, QStringLiteral(".gif")))
        return PictureKind::Gif;
    if (sameText(extension, QStringLiteral(".png")))
        return PictureKind::Png;
    return PictureKind::None;
}

void checkPictureSize(qint64 width, qint64 height) {
    if (width <= 0 || height <= 0)
        throw PictureError(QStringLiteral("图像的尺寸无效。"));
    if (width * height > MaxPicturePixels)
        throw PictureError(QStringLiteral("图像太大（%1×%2）。").arg(width).arg(height));
}

namespace {
QByteArray readPictureFile(const QString& path) {
    try {
        return readWholeFile(path);
    } catch (const FileError& error) {
        throw PictureError(error.message());
    }
}
} // namespace

DecodedPicture loadPictureAtLeast(const QString& path,
                                  const std::function<QSize(QSize)>& targetFor) {
    const PictureKind kind = pictureKindOf(path);
    if (kind == PictureKind::None)
        throw PictureError(QStringLiteral("不支持的图像格式。"));
    const QByteArray bytes = readPictureFile(path);
    switch (kind) {
    case PictureKind::Bmp: {
        QImage image = decodeBmp(bytes);
        return {image, image.size()};
    }
    case PictureKind::Jpeg:
        return decodeJpeg(bytes, targetFor);
    case PictureKind::Png: {
        QImage image = decodePng(bytes);
        return {image, image.size()};
    }
    case PictureKind::Gif: {
        GifAnimation gif = decodeGif(bytes, true);
        return {gif.frames.first(), gif.screen};
    }
    case PictureKind::None:
        break;
    }
    throw PictureError(QStringLiteral("不支持的图像格式。"));
}

DecodedPicture loadPicture(const QString& path) {
    return loadPictureAtLeast(path, nullptr);
}

GifAnimation loadGifAnimation(const QString& path) {
    return decodeGif(readPictureFile(path), false);
}
