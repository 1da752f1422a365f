#include "popup/DroppedData.h"

#include "picture/Picture.h"

#include <QBuffer>
#include <QImage>
#include <QMimeData>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>

namespace {
// Raw picture formats in the order they are taken: a GIF first, so that an animation stays
// one; then the formats that keep every pixel; last the untyped bytes Chromium offers with an
// image drag (the file itself), taken only when they are a picture.
const QStringList& pictureFormats() {
    static const QStringList formats = {"image/gif", "image/png",  "image/webp",
                                        "image/bmp", "image/jpeg", "application/octet-stream"};
    return formats;
}

// Firefox's own link format: UTF-16, the address then the title on the next line.
QString mozillaAddress(const QMimeData& mime) {
    const QByteArray bytes = mime.data(QStringLiteral("text/x-moz-url"));
    if (bytes.isEmpty())
        return {};
    QStringDecoder utf16(QStringDecoder::Utf16LE);
    return QString(utf16.decode(bytes)).section(u'\n', 0, 0).trimmed();
}

// The first <img src="..."> of a page fragment.
QString imageAddressInHtml(const QString& html) {
    static const QRegularExpression source(
        QStringLiteral(R"(<img\b[^>]*\bsrc\s*=\s*["']([^"']+)["'])"),
        QRegularExpression::CaseInsensitiveOption);
    return source.match(html).captured(1);
}

QString pictureAddress(const QMimeData& mime) {
    if (const QString moz = mozillaAddress(mime); !moz.isEmpty())
        return moz;
    for (const QUrl& url : mime.urls())
        if (!url.isLocalFile())
            return url.toString();
    return imageAddressInHtml(mime.html());
}
} // namespace

bool mayCarryDroppedData(const QMimeData& mime) {
    if (mime.hasUrls() || mime.hasImage())
        return true;
    for (const QString& format : mime.formats())
        if (format.startsWith(u"image/") || format == u"application/octet-stream")
            return true;
    return false;
}

DroppedData readDroppedData(const QMimeData& mime) {
    DroppedData data;
    for (const QUrl& url : mime.urls())
        if (url.isLocalFile())
            data.files << url.toLocalFile();
    if (!data.files.isEmpty())
        return data;

    data.pictureAddress = pictureAddress(mime);
    for (const QString& format : pictureFormats()) {
        const QByteArray bytes = mime.data(format);
        if (pictureKindOfBytes(bytes) != PictureKind::None) {
            data.pictureBytes = bytes;
            return data;
        }
    }
    // Only the image as the browser decoded it: kept as PNG.
    if (mime.hasImage()) {
        const QImage image = qvariant_cast<QImage>(mime.imageData());
        QBuffer buffer(&data.pictureBytes);
        buffer.open(QIODevice::WriteOnly);
        if (image.isNull() || !image.save(&buffer, "PNG"))
            data.pictureBytes.clear();
    }
    return data;
}
