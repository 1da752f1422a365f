// Writes the fuzzers' seeds into <folder>/<target>/: small pictures of every kind the fixtures
// make (ordinary and hostile), cache files, texts in several encodings, Options.ini and
// Order.ini files.

#include "FixturePictures.h"
#include "HostileFiles.h"

#include "base/TextCodec.h"
#include "picture/Picture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringConverter>
#include <QTemporaryDir>

#include <cstdio>

namespace {
QByteArray fileBytes(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QByteArray pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray jpegBytes(const QImage& image, bool progressive, bool greyscale) {
    QTemporaryDir folder;
    WriteJpeg(folder.filePath("s.jpg"), image, progressive, 80, greyscale);
    return fileBytes(folder.filePath("s.jpg"));
}

QByteArray gifBytes(const GifPicture& picture) {
    QTemporaryDir folder;
    WriteGif(folder.filePath("s.gif"), picture);
    return fileBytes(folder.filePath("s.gif"));
}

QList<QByteArray> bmpSeeds() {
    QImage withAlpha = TestPattern(QSize(12, 9)).convertToFormat(QImage::Format_ARGB32);
    return {encodeBmp(TestPattern(QSize(16, 12))), encodeBmp(TestPattern(QSize(5, 3))),
            OneBitBmp(QSize(13, 7)), encodeBmp(withAlpha)};
}

QList<QByteArray> jpegSeeds() {
    const QImage pattern = TestPattern(QSize(24, 16));
    return {jpegBytes(pattern, false, false), jpegBytes(pattern, true, false),
            jpegBytes(pattern, false, true), JpegWithManyScans(QSize(64, 48), 1, 4),
            JpegWithManyScans(QSize(40, 40), 3, 2)};
}

QList<QByteArray> pngSeeds() {
    QImage translucent(10, 6, QImage::Format_ARGB32);
    translucent.fill(qRgba(10, 200, 30, 90));
    QImage grey = TestPattern(QSize(9, 9)).convertToFormat(QImage::Format_Grayscale8);
    QImage indexed = TestPattern(QSize(8, 8)).convertToFormat(QImage::Format_Indexed8);
    return {pngBytes(TestPattern(QSize(16, 10))),
            pngBytes(translucent),
            pngBytes(grey),
            pngBytes(indexed),
            PngWithHugeChunkLength("zTXt"),
            PngWithCompressionBomb(1 << 16)};
}

QList<QByteArray> gifSeeds() {
    GifPicture interlaced = MovingSquareGif(QSize(16, 16), 2);
    interlaced.frames[0].interlaced = true;
    interlaced.frames[1].localPalette = {qRgb(1, 2, 3), qRgb(200, 100, 0)};
    interlaced.frames[1].transparentIndex = 0;
    interlaced.frames[1].disposal = 2;
    return {gifBytes(MovingSquareGif(QSize(20, 12), 4)), gifBytes(interlaced),
            GifRestoringOnHugeCanvas(QSize(40, 40), 6), GifWithHugeFrames(QSize(70, 3), 3),
            GifDotOnHugeCanvas(QSize(90, 90))};
}

QList<QByteArray> textSeeds() {
    const QString text = QString::fromUtf8("你好\r\nsecond line\rthird\nfourth\r\n");
    auto gb18030 = QStringEncoder("GB18030");
    return {encodeUnicodeLines({"one", QString::fromUtf8("二"), ""}),
            QByteArray("\xEF\xBB\xBF") + text.toUtf8(),
            text.toUtf8(),
            QByteArray(gb18030(text)),
            QByteArray("\xFE\xFF\x00h\x00i", 6),
            QByteArray("before\0after", 12)};
}

QList<QByteArray> optionsSeeds() {
    return {encodeUnicodeLines(
                {"[MainWnd]", "Left=5", "Top=7", "", "[Other]", "Key = value", "; comment"}),
            encodeUnicodeLines({"stray=1", "[mainwnd]", "LEFT=x", "[MainWnd]", "Top=9"}),
            QByteArray("[MainWnd]\nLeft=1\n")};
}

QList<QByteArray> orderSeeds() {
    return {encodeUnicodeLines({"c.txt", "dir", "a.gif"}),
            encodeUnicodeLines({"A.GIF", "gone.png", QString::fromUtf8("微笑.bmp"), "dir", "dir"}),
            encodeUnicodeLines({""}), QByteArray("b.png\r\nc.txt\r\n")};
}

// The thumbnail target reads its first byte as the extension: 0 BMP, 1 JPEG, 2 PNG, 3 GIF.
QList<QByteArray> thumbnailSeeds() {
    QList<QByteArray> seeds;
    const QList<QList<QByteArray>> kinds{bmpSeeds(), jpegSeeds(), pngSeeds(), gifSeeds()};
    for (int kind = 0; kind < kinds.size(); ++kind)
        for (const QByteArray& seed : kinds[kind])
            seeds << QByteArray(1, static_cast<char>(kind)) + seed;
    return seeds;
}

QList<QByteArray> thumbnailFileSeeds() {
    return {encodeBmp(TestPattern(QSize(40, 30))), encodeBmp(TestPattern(QSize(3, 40))),
            OneBitBmp(QSize(40, 40)), OneBitBmp(QSize(400, 400))};
}

bool writeSeeds(const QString& folder, const QList<QByteArray>& seeds) {
    if (!QDir().mkpath(folder))
        return false;
    for (int i = 0; i < seeds.size(); ++i) {
        QFile file(QStringLiteral("%1/seed-%2").arg(folder).arg(i));
        if (!file.open(QIODevice::WriteOnly) || file.write(seeds[i]) != seeds[i].size())
            return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: jolvex_fuzz_corpus <folder>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QList<std::pair<const char*, QList<QByteArray>>> targets{
        {"fuzz_bmp", bmpSeeds()},
        {"fuzz_jpeg", jpegSeeds()},
        {"fuzz_png", pngSeeds()},
        {"fuzz_gif", gifSeeds()},
        {"fuzz_thumbnail", thumbnailSeeds()},
        {"fuzz_thumbnail_file", thumbnailFileSeeds()},
        {"fuzz_text", textSeeds()},
        {"fuzz_options", optionsSeeds()},
        {"fuzz_order_file", orderSeeds()},
    };
    for (const auto& [name, seeds] : targets) {
        if (!writeSeeds(root + "/" + name, seeds)) {
            std::fprintf(stderr, "jolvex_fuzz_corpus: cannot write the seeds of %s\n", name);
            return 1;
        }
    }
    return 0;
}
