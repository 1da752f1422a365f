#include "thumbnails/ScaledThumbnailFiles.h"

#include "picture/ThumbnailGeometry.h"
#include "platform/FileSystem.h"
#include "platform/Logging.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace {
constexpr char kSourceKey[] = "Jolvex-Picture";
// A thumbnail of at most 120x120 pixels is far smaller as a PNG; a larger file is none of ours.
constexpr qint64 kLargestFile = 256 * 1024;

// "<40 hex digits>-<side>.png": the files this program writes, and the only ones it removes.
const QRegularExpression& fileNamePattern() {
    static const QRegularExpression pattern(QStringLiteral("^[0-9a-f]{40}-(\\d{2,3})\\.png$"));
    return pattern;
}
} // namespace

ScaledThumbnailFiles::ScaledThumbnailFiles(QString folder) : folder_(std::move(folder)) {}

QString ScaledThumbnailFiles::nameFor(const QString& picturePath, qint64 pictureBytes,
                                      std::int64_t pictureTime, int side) const {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(picturePath.toUtf8());
    hash.addData(QByteArray(1, '\0'));
    hash.addData(QByteArray::number(pictureBytes) + ' ' + QByteArray::number(pictureTime));
    return QString::fromLatin1(hash.result().toHex()) + QLatin1Char('-') + QString::number(side) +
           QStringLiteral(".png");
}

QString ScaledThumbnailFiles::fileFor(const QString& picturePath, int side) const {
    if (!keepsFiles())
        return {};
    const QFileInfo picture(picturePath);
    const auto time = fileWriteTime(picturePath);
    if (!time || !picture.exists())
        return {};
    return folder_ + QLatin1Char('/') + nameFor(picturePath, picture.size(), *time, side);
}

std::optional<QImage> ScaledThumbnailFiles::read(const QString& file, int side) const {
    if (!isPlainFile(file) || QFileInfo(file).size() > kLargestFile)
        return std::nullopt;
    QImageReader reader(file, "png");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > side || size.height() > side)
        return std::nullopt;
    QImage thumbnail = reader.read();
    if (thumbnail.isNull()) {
        qCWarning(lcThumbs) << "a damaged thumbnail in the cache, made again:" << file;
        return std::nullopt;
    }
    thumbnail.convertTo(QImage::Format_RGB32);
    thumbnail.setDevicePixelRatio(static_cast<double>(side) / ThumbnailSide);
    return thumbnail;
}

bool ScaledThumbnailFiles::write(const QString& file, const QImage& thumbnail,
                                 const QString& picturePath) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setText(QString::fromLatin1(kSourceKey), picturePath);
    writer.setQuality(89);
    if (!writer.write(thumbnail))
        return false;
    if (!forceDirectories(folder_)) {
        qCWarning(lcThumbs) << "the thumbnail cache folder cannot be made:" << folder_;
        return false;
    }
    try {
        replaceFileContents(file, bytes, WriteDurability::Cache);
        return true;
    } catch (const std::exception& error) {
        qCWarning(lcThumbs) << "a thumbnail could not be kept in the cache:" << error.what();
        return false;
    }
}

ScaledThumbnailFiles::Tidied ScaledThumbnailFiles::tidy(qint64 budgetBytes) const {
    Tidied tidied;
    if (!keepsFiles())
        return tidied;
    struct Kept {
        QString path;
        qint64 bytes;
        QDateTime written;
    };
    std::vector<Kept> kept;
    const QFileInfoList files = QDir(folder_).entryInfoList(QDir::Files | QDir::System);
    for (const QFileInfo& info : files) {
        const auto match = fileNamePattern().match(info.fileName());
        if (!match.hasMatch() || info.isSymLink())
            continue;
        const QString source =
            QImageReader(info.filePath(), "png").text(QString::fromLatin1(kSourceKey));
        const bool current =
            !source.isEmpty() && fileFor(source, match.captured(1).toInt()) == info.filePath();
        if (!current) {
            tidied.removed += QFile::remove(info.filePath()) ? 1 : 0;
            continue;
        }
        kept.push_back({info.filePath(), info.size(), info.lastModified()});
    }
    std::sort(kept.begin(), kept.end(),
              [](const Kept& a, const Kept& b) { return a.written > b.written; });
    for (const Kept& file : kept) {
        if (tidied.bytesKept + file.bytes <= budgetBytes) {
            tidied.bytesKept += file.bytes;
            continue;
        }
        if (QFile::remove(file.path))
            ++tidied.removed;
        else
            tidied.bytesKept += file.bytes;
    }
    return tidied;
}
