#include "picture/Picture.h"

#include "library/NameCompare.h"
#include "platform/FileSystem.h"

PictureKind PictureKindOf(const QString& path) {
    const QString extension = ExtractExtension(path.mid(path.lastIndexOf(PathDelimiter) + 1));
    if (SameText(extension, QStringLiteral(".bmp")))
        return PictureKind::Bmp;
    if (SameText(extension, QStringLiteral(".jpg")) || SameText(extension, QStringLiteral(".jpeg")))
        return PictureKind::Jpeg;
    if (SameText(extension, QStringLiteral(".gif")))
        return PictureKind::Gif;
    if (SameText(extension, QStringLiteral(".png")))
        return PictureKind::Png;
    return PictureKind::None;
}

void CheckPictureSize(qint64 width, qint64 height) {
    if (width <= 0 || height <= 0)
        throw PictureError(QStringLiteral("图像的尺寸无效。"));
    if (width * height > MaxPicturePixels)
        throw PictureError(QStringLiteral("图像太大（%1×%2）。").arg(width).arg(height));
}

namespace {
QByteArray ReadPictureFile(const QString& path) {
    try {
        return ReadWholeFile(path);
    } catch (const FileError& error) {
        throw PictureError(error.Message());
    }
}
} // namespace

DecodedPicture LoadPictureAtLeast(const QString& path,
                                  const std::function<QSize(QSize)>& targetFor) {
    const PictureKind kind = PictureKindOf(path);
    if (kind == PictureKind::None)
        throw PictureError(QStringLiteral("不支持的图像格式。"));
    const QByteArray bytes = ReadPictureFile(path);
    switch (kind) {
    case PictureKind::Bmp: {
        QImage image = DecodeBmp(bytes);
        return {image, image.size()};
    }
    case PictureKind::Jpeg:
        return DecodeJpeg(bytes, targetFor);
    case PictureKind::Png: {
        QImage image = DecodePng(bytes);
        return {image, image.size()};
    }
    case PictureKind::Gif: {
        GifAnimation gif = DecodeGif(bytes, true);
        return {gif.frames.first(), gif.screen};
    }
    case PictureKind::None:
        break;
    }
    throw PictureError(QStringLiteral("不支持的图像格式。"));
}

DecodedPicture LoadPicture(const QString& path) {
    return LoadPictureAtLeast(path, nullptr);
}

GifAnimation LoadGifAnimation(const QString& path) {
    return DecodeGif(ReadPictureFile(path), false);
}
