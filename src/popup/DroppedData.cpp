#include "popup/DroppedData.h"

#include "picture/Picture.h"
#include "platform/Logging.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

namespace {
// Formats that carry the picture's own file: a GIF (so that an animation stays one), and the
// untyped bytes Chromium offers with an image drag, taken only when they are a picture.
const QStringList& ownFileFormats() {
    static const QStringList formats = {"image/gif", "application/octet-stream"};
    return formats;
}

// Formats a browser may fill from the image it shows, encoded afresh (Firefox does): those
// that keep every pixel first.
const QStringList& encodedFormats() {
    static const QStringList formats = {"image/png", "image/webp", "image/bmp", "image/jpeg"};
    return formats;
}

const QString kDirectSave = QStringLiteral("XdndDirectSave0");
constexpr int kDirectSaveWaitMs = 3000;
constexpr int kDirectSavePollMs = 20;

// The source answers before it writes the file, at its own pace: the file is taken once it
// ends as a whole picture and has held still between two looks.
QByteArray readWhenWritten(const QString& path) {
    QElapsedTimer waited;
    waited.start();
    QByteArray previous;
    while (waited.elapsed() < kDirectSaveWaitMs) {
        QFile file(path);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        if (!bytes.isEmpty() && bytes == previous && pictureBytesEndWhole(bytes)) {
            qCInfo(lcFiles) << "the drag's source saved its file in" << waited.elapsed() << "ms";
            return bytes;
        }
        previous = bytes;
        QThread::msleep(kDirectSavePollMs);
    }
    qCInfo(lcFiles) << "the drag's source did not save a whole picture in" << kDirectSaveWaitMs
                    << "ms";
    return {};
}

// The data of the first format that holds a picture.
QByteArray firstPictureIn(const QMimeData& mime, const QStringList& formats) {
    // Only formats the source lists: asking a drag's source for another one costs a round
    // trip to it for nothing.
    for (const QString& format : formats) {
        if (!mime.hasFormat(format))
            continue;
        QByteArray bytes = mime.data(format);
        if (pictureKindOfBytes(bytes) != PictureKind::None)
            return bytes;
    }
    return {};
}

// The picture's own file, saved by the source into a temporary folder outside the library.
QByteArray directlySavedPicture(const QMimeData& mime, const DirectSaveOffer& offerDirectSave) {
    if (!offerDirectSave || !mime.formats().contains(kDirectSave))
        return {};
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("picture"));
    if (!folder.isValid() || !offerDirectSave(path))
        return {};
    // "S": saved (or being saved); "E" and "F": not.
    if (mime.data(kDirectSave) != "S")
        return {};
    QByteArray bytes = readWhenWritten(path);
    return pictureKindOfBytes(bytes) != PictureKind::None ? bytes : QByteArray();
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

DroppedData readDroppedData(const QMimeData& mime, const DirectSaveOffer& offerDirectSave) {
    DroppedData data;
    for (const QUrl& url : mime.urls())
        if (url.isLocalFile())
            data.files << url.toLocalFile();
    if (!data.files.isEmpty())
        return data;

    data.pictureAddress = pictureAddress(mime);
    data.pictureBytes = firstPictureIn(mime, ownFileFormats());
    if (data.pictureBytes.isEmpty())
        data.pictureBytes = directlySavedPicture(mime, offerDirectSave);
    if (data.pictureBytes.isEmpty())
        data.pictureBytes = firstPictureIn(mime, encodedFormats());
    if (!data.pictureBytes.isEmpty())
        return data;
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
