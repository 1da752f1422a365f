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

PictureKind pictureKindOfBytes(const QByteArray& bytes) {
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return PictureKind::Png;
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return PictureKind::Gif;
    if (bytes.startsWith("\xff\xd8\xff"))
        return PictureKind::Jpeg;
    // "BM", then a file size and two reserved words; the header size that follows is one of
    // the known ones.
    if (bytes.size() >= 18 && bytes.startsWith("BM")) {
        const int header =
            static_cast<unsigned char>(bytes[14]) | static_cast<unsigned char>(bytes[15]) << 8;
        if (header == 12 || header == 40 || header == 52 || header == 56 || header == 64 ||
            header == 108 || header == 124)
            return PictureKind::Bmp;
    }
    return PictureKind::None;
}

bool pictureBytesEndWhole(const QByteArray& bytes) {
    switch (pictureKindOfBytes(bytes)) {
    case PictureKind::Gif:
        return bytes.endsWith('\x3b');
    case PictureKind::Png:
        return bytes.endsWith(QByteArray("IEND\xae\x42\x60\x82", 8));
    case PictureKind::Jpeg:
        return bytes.endsWith("\xff\xd9");
    case PictureKind::Bmp: {
        const auto byte = [&](int i) { return static_cast<quint32>(static_cast<uchar>(bytes[i])); };
        const quint32 stated = byte(2) | byte(3) << 8 | byte(4) << 16 | byte(5) << 24;
        // Some writers leave the size 0; then the bytes are taken as they are.
        return stated == 0 || stated <= static_cast<quint32>(bytes.size());
    }
    case PictureKind::None:
        break;
    }
    return false;
}

QString pictureExtension(PictureKind kind) {
    switch (kind) {
    case PictureKind::Bmp:
        return QStringLiteral(".bmp");
    case PictureKind::Jpeg:
        return QStringLiteral(".jpg");
    case PictureKind::Gif:
        return QStringLiteral(".gif");
    case PictureKind::Png:
        return QStringLiteral(".png");
    case PictureKind::None:
        break;
    }
    return {};
}

void checkPictureSize(qint64 width, qint64 height, qint64 limit) {
    if (width <= 0 || height <= 0)
        throw PictureError(PictureProblem::InvalidSize);
    if (width * height > limit)
        throw PictureError(PictureProblem::TooLarge, PictureKind::None, QString(),
                           QSize(static_cast<int>(width), static_cast<int>(height)));
}

namespace {
QByteArray readPictureFile(const QString& path) {
    try {
        return readWholeFile(path);
    } catch (const FileError& error) {
        throw PictureError(error);
    }
}
} // namespace

DecodedPicture loadPictureAtLeast(const QString& path,
                                  const std::function<QSize(QSize)>& targetFor) {
    const PictureKind kind = pictureKindOf(path);
    if (kind == PictureKind::None)
        throw PictureError(PictureProblem::UnsupportedFormat);
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
    throw PictureError(PictureProblem::UnsupportedFormat);
}

DecodedPicture loadPicture(const QString& path) {
    return loadPictureAtLeast(path, nullptr);
}

GifAnimation loadGifAnimation(const QString& path) {
    return decodeGif(readPictureFile(path), false);
}

QImage shrinkPicture(QImage picture, QSize size) {
    if (picture.format() == QImage::Format_ARGB32)
        picture.convertTo(QImage::Format_ARGB32_Premultiplied); // in place: same depth
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

PicturePreview loadPicturePreview(const QString& path, QSize box,
                                  const std::atomic<bool>* cancelled) {
    PicturePreview preview;
    if (pictureKindOf(path) == PictureKind::Gif) {
        GifAnimation gif = decodeGif(readPictureFile(path), false, FrameFitting{box, cancelled});
        preview.pictureSize = gif.screen;
        preview.frames = std::move(gif.frames);
        preview.delaysMs = std::move(gif.delaysMs);
        return preview;
    }
    // Decoded no larger than needed to fill the box (JPEG), then shrunk to fit it.
    auto covering = [box](QSize picture) {
        return picture.width() > box.width() || picture.height() > box.height()
                   ? picture.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1))
                   : picture;
    };
    DecodedPicture picture = pictureKindOf(path) == PictureKind::Jpeg
                                 ? decodeJpeg(readPictureFile(path), covering, cancelled)
                                 : loadPicture(path);
    if (cancelled && cancelled->load())
        throw PictureError(PictureProblem::Cancelled);
    preview.pictureSize = picture.pictureSize;
    const QSize shown = covering(picture.pictureSize);
    preview.frames << (picture.image.size() == shown
                           ? picture.image
                           : shrinkPicture(std::move(picture.image), shown));
    preview.delaysMs << 0;
    return preview;
}
