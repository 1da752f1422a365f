#include "picture/Picture.h"

#include "FixturePictures.h"
#include "support/TempTree.h"

#include <QtEndian>

#include <zlib.h>

#include <gtest/gtest.h>

namespace {
QImage Solid(QSize size, QRgb colour) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

bool Near(QRgb a, QRgb b, int tolerance = 12) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

TEST(Pictures, KindFollowsTheExtensionInAnyLetterCase) {
    EXPECT_EQ(pictureKindOf("/x/a.PNG"), PictureKind::Png);
    EXPECT_EQ(pictureKindOf("/x/a.Jpeg"), PictureKind::Jpeg);
    EXPECT_EQ(pictureKindOf("/x/a.jpg"), PictureKind::Jpeg);
    EXPECT_EQ(pictureKindOf("/x/a.gif"), PictureKind::Gif);
    EXPECT_EQ(pictureKindOf("/x/a.bmp"), PictureKind::Bmp);
    EXPECT_EQ(pictureKindOf("/x/a.jpe"), PictureKind::None);
    EXPECT_EQ(pictureKindOf("/x.png/readme"), PictureKind::None);
}

TEST(Pictures, PngKeepsColoursAndAlpha) {
    QImage source = Solid(QSize(30, 20), qRgba(0x10, 0x80, 0xF0, 0xFF));
    source.setPixel(0, 0, qRgba(0, 0, 0, 0));
    const QImage image = decodePng(EncodedPicture(source, "PNG"));
    ASSERT_EQ(image.size(), QSize(30, 20));
    EXPECT_EQ(image.pixel(5, 5), qRgba(0x10, 0x80, 0xF0, 0xFF));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    // Palette and grey PNGs go through the same path.
    QImage grey(8, 8, QImage::Format_Grayscale8);
    grey.fill(200);
    EXPECT_EQ(qRed(decodePng(EncodedPicture(grey, "PNG")).pixel(3, 3)), 200);
}

TEST(Pictures, JpegBaselineProgressiveAndGrey) {
    TempTree tree;
    const QImage source = Solid(QSize(64, 48), qRgb(0xE0, 0x40, 0x40));
    for (bool progressive : {false, true}) {
        ASSERT_TRUE(WriteJpeg(tree / "a.jpg", source, progressive));
        const DecodedPicture picture = decodeJpeg(tree.Read("a.jpg"));
        EXPECT_EQ(picture.pictureSize, QSize(64, 48));
        ASSERT_EQ(picture.image.size(), QSize(64, 48));
        EXPECT_TRUE(Near(picture.image.pixel(30, 20), qRgb(0xE0, 0x40, 0x40)))
            << std::hex << picture.image.pixel(30, 20);
    }
    ASSERT_TRUE(WriteJpeg(tree / "g.jpg", Solid(QSize(16, 16), qRgb(90, 90, 90)), false, 95, true));
    EXPECT_TRUE(Near(decodeJpeg(tree.Read("g.jpg")).image.pixel(8, 8), qRgb(90, 90, 90)));
}

TEST(Pictures, JpegIsDecodedAtTheSmallestScaleThatCoversTheTarget) {
    TempTree tree;
    ASSERT_TRUE(WriteJpeg(tree / "big.jpg", TestPattern(QSize(4000, 3000)), true, 80));
    const QByteArray bytes = tree.Read("big.jpg");
    const struct {
        QSize target;
        QSize decoded;
    } cases[] = {
        {QSize(40, 30), QSize(500, 375)},    // 1/8
        {QSize(600, 450), QSize(1000, 750)}, // 1/4: 1/8 would be too small
        {QSize(), QSize(4000, 3000)},
    };
    for (const auto& c : cases) {
        const DecodedPicture picture = decodeJpeg(bytes, [&](QSize) { return c.target; });
        EXPECT_EQ(picture.pictureSize, QSize(4000, 3000));
        EXPECT_EQ(picture.image.size(), c.decoded);
    }
}

TEST(Pictures, BmpOfEveryUncompressedDepth) {
    const QImage colour = TestPattern(QSize(13, 7)); // odd width: rows are padded
    // Our own 24-bit writer, round trip.
    const QImage ours = decodeBmp(encodeBmp(colour));
    ASSERT_EQ(ours.size(), colour.size());
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x)
            ASSERT_EQ(ours.pixel(x, y), colour.pixel(x, y) | 0xFF000000) << x << "," << y;
    // Qt's writer: 32-bit, 8-bit palette, 1-bit.
    EXPECT_EQ(
        decodeBmp(EncodedPicture(colour.convertToFormat(QImage::Format_RGB32), "BMP")).pixel(6, 3),
        colour.pixel(6, 3) | 0xFF000000);
    QImage indexed = colour.convertToFormat(QImage::Format_Indexed8);
    EXPECT_EQ(decodeBmp(EncodedPicture(indexed, "BMP")).pixel(4, 2), indexed.pixel(4, 2));
    QImage mono(9, 3, QImage::Format_Mono);
    mono.fill(0);
    mono.setPixel(8, 2, 1);
    const QImage decoded = decodeBmp(EncodedPicture(mono, "BMP"));
    EXPECT_EQ(decoded.pixel(8, 2), mono.pixel(8, 2));
    EXPECT_EQ(decoded.pixel(0, 0), mono.pixel(0, 0));
}

// A BMP with a 40-byte header, a palette and run-length encoded data.
QByteArray RunLengthBmp(int width, int height, int bits, const QList<QRgb>& palette,
                        const QByteArray& data) {
    const int paletteBytes = 4 * static_cast<int>(palette.size());
    const int offset = 14 + 40 + paletteBytes;
    QByteArray b(offset, '\0');
    b[0] = 'B';
    b[1] = 'M';
    qToLittleEndian<quint32>(static_cast<quint32>(offset + data.size()), b.data() + 2);
    qToLittleEndian<quint32>(static_cast<quint32>(offset), b.data() + 10);
    qToLittleEndian<quint32>(40, b.data() + 14);
    qToLittleEndian<qint32>(width, b.data() + 18);
    qToLittleEndian<qint32>(height, b.data() + 22);
    qToLittleEndian<quint16>(1, b.data() + 26);
    qToLittleEndian<quint16>(static_cast<quint16>(bits), b.data() + 28);
    qToLittleEndian<quint32>(bits == 8 ? 1 : 2, b.data() + 30);
    qToLittleEndian<quint32>(static_cast<quint32>(palette.size()), b.data() + 46);
    for (qsizetype i = 0; i < palette.size(); ++i) {
        b[54 + 4 * i] = static_cast<char>(qBlue(palette[i]));
        b[54 + 4 * i + 1] = static_cast<char>(qGreen(palette[i]));
        b[54 + 4 * i + 2] = static_cast<char>(qRed(palette[i]));
    }
    return b + data;
}

// Rows of a decoded picture as palette indices, top row first.
QList<QList<int>> Indices(const QImage& image, const QList<QRgb>& palette) {
    QList<QList<int>> rows;
    for (int y = 0; y < image.height(); ++y) {
        QList<int> row;
        for (int x = 0; x < image.width(); ++x)
            row << static_cast<int>(palette.indexOf(image.pixel(x, y) | 0xFF000000));
        rows << row;
    }
    return rows;
}

TEST(Pictures, RunLengthEncodedBmps) {
    const QList<QRgb> palette{qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    const struct {
        const char* what;
        int bits;
        QByteArray data;
        QList<QList<int>> rows; // top row first; the data starts at the bottom row
    } cases[] = {
        {"RLE8 runs and end of line",
         8,
         QByteArray::fromHex("0301 0102 0000 0203 0202 0001"),
         {{3, 3, 2, 2}, {1, 1, 1, 2}}},
        {"RLE8 pixels one by one, padded",
         8,
         QByteArray::fromHex("0003 010203 00 0000 0402 0001"),
         {{2, 2, 2, 2}, {1, 2, 3, 0}}},
        {"RLE8 a move right and up",
         8,
         QByteArray::fromHex("0002 0201 0203 0001"),
         {{0, 0, 3, 3}, {0, 0, 0, 0}}},
        {"RLE4 alternating nibbles",
         4,
         QByteArray::fromHex("0412 0000 0003 2310 0001"),
         {{2, 3, 1, 0}, {1, 2, 1, 2}}},
        {"a run past the right edge is cut",
         8,
         QByteArray::fromHex("FF01 0000 0202 0001"),
         {{2, 2, 0, 0}, {1, 1, 1, 1}}},
        {"data that ends early leaves index 0",
         8,
         QByteArray::fromHex("0203"),
         {{0, 0, 0, 0}, {3, 3, 0, 0}}},
        {"rows past the top are dropped",
         8,
         QByteArray::fromHex("0401 0000 0402 0000 0403 0000 0403 0001"),
         {{2, 2, 2, 2}, {1, 1, 1, 1}}},
    };
    for (const auto& c : cases) {
        const QImage image = decodeBmp(RunLengthBmp(4, 2, c.bits, palette, c.data));
        ASSERT_EQ(image.size(), QSize(4, 2)) << c.what;
        EXPECT_EQ(Indices(image, palette), c.rows) << c.what;
    }
    // A huge run-length picture is refused by its size before anything is expanded.
    EXPECT_THROW(decodeBmp(RunLengthBmp(100000, 100000, 8, palette, QByteArray::fromHex("0001"))),
                 PictureError);
}

// Frame 1 all red; frame 2 a blue square whose surroundings are transparent, disposed to
// background; frame 3 one green pixel at (7, 0), restored afterwards; frame 4 two interlaced
// columns at the left.
GifPicture LayeredGif() {
    GifPicture gif;
    gif.screen = QSize(8, 8);
    gif.palette = {qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 255, 0)};
    gif.backgroundIndex = 0;
    GifFrame first{QRect(0, 0, 8, 8), QList<std::uint8_t>(64, 1), 10, 1, -1};
    GifFrame second{QRect(2, 2, 4, 4), QList<std::uint8_t>(16, 0), 20, 2, 0};
    for (int i : {5, 6, 9, 10})
        second.pixels[i] = 2; // a 2x2 blue square in the middle, the rest transparent (0)
    GifFrame third{QRect(7, 0, 1, 1), {3}, 30, 3, -1};
    GifFrame fourth{QRect(0, 0, 2, 8), QList<std::uint8_t>(16, 2), 40, 0, -1, true};
    for (int y = 0; y < 8; ++y)
        fourth.pixels[y * 2] = static_cast<std::uint8_t>(y % 2 ? 1 : 3); // column 0 alternates
    gif.frames = {first, second, third, fourth};
    return gif;
}

TEST(Pictures, GifFramesAreComposedWithDisposalTransparencyAndDelays) {
    TempTree tree;
    ASSERT_TRUE(WriteGif(tree / "a.gif", LayeredGif()));
    const GifAnimation gif = decodeGif(tree.Read("a.gif"), false);
    ASSERT_EQ(gif.frames.size(), 4);
    EXPECT_EQ(gif.screen, QSize(8, 8));
    EXPECT_EQ(gif.delaysMs, (QList<int>{100, 200, 300, 400}));
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), green = qRgb(0, 255, 0);
    EXPECT_EQ(gif.frames[0].pixel(4, 4), red);
    EXPECT_EQ(gif.frames[1].pixel(3, 3), blue);
    EXPECT_EQ(gif.frames[1].pixel(2, 2), red) << "transparent pixels show the frame below";
    EXPECT_EQ(gif.frames[2].pixel(7, 0), green);
    EXPECT_EQ(qAlpha(gif.frames[2].pixel(3, 3)), 0) << "frame 2's area was cleared";
    EXPECT_EQ(qAlpha(gif.frames[2].pixel(2, 2)), 0);
    EXPECT_EQ(gif.frames[2].pixel(7, 7), red) << "outside frame 2's area nothing was cleared";
    EXPECT_EQ(gif.frames[3].pixel(7, 0), red) << "frame 3 restored what was there before it";
    EXPECT_EQ(qAlpha(gif.frames[3].pixel(3, 3)), 0);
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(gif.frames[3].pixel(0, y), y % 2 ? red : green) << "interlaced row " << y;
        EXPECT_EQ(gif.frames[3].pixel(1, y), blue) << "interlaced row " << y;
    }
}

TEST(Pictures, GifFirstFrameStandsOnTheBackgroundColour) {
    TempTree tree;
    GifPicture gif;
    gif.screen = QSize(10, 6);
    gif.palette = {qRgb(0, 128, 0), qRgb(255, 0, 0)};
    gif.backgroundIndex = 0;
    gif.frames = {GifFrame{QRect(2, 1, 3, 2), QList<std::uint8_t>{1, 0, 1, 1, 1, 1}, 10, 0, 0}};
    ASSERT_TRUE(WriteGif(tree / "t.gif", gif));
    const GifAnimation first = decodeGif(tree.Read("t.gif"), true);
    ASSERT_EQ(first.frames.size(), 1);
    ASSERT_EQ(first.frames[0].size(), QSize(10, 6));
    EXPECT_EQ(first.frames[0].pixel(2, 1), qRgb(255, 0, 0));
    EXPECT_EQ(first.frames[0].pixel(3, 1), qRgb(0, 128, 0)) << "transparent: background colour";
    EXPECT_EQ(first.frames[0].pixel(9, 5), qRgb(0, 128, 0));
}

// Every decoder, fed damaged bytes, throws or returns a picture; it never crashes.
TEST(Pictures, DamagedAndTruncatedFilesNeverCrash) {
    TempTree tree;
    ASSERT_TRUE(WriteJpeg(tree / "a.jpg", TestPattern(QSize(120, 90)), true));
    ASSERT_TRUE(WriteGif(tree / "a.gif", MovingSquareGif(QSize(50, 40), 5)));
    const QByteArray png = EncodedPicture(TestPattern(QSize(120, 90)), "PNG");
    const QByteArray bmp = encodeBmp(TestPattern(QSize(120, 90)));
    const QByteArray jpeg = tree.Read("a.jpg");
    const QByteArray gif = tree.Read("a.gif");

    auto tryAll = [](const QByteArray& bytes) {
        for (int kind = 0; kind < 4; ++kind) {
            try {
                if (kind == 0)
                    decodePng(bytes);
                else if (kind == 1)
                    decodeJpeg(bytes);
                else if (kind == 2)
                    decodeGif(bytes, false);
                else
                    decodeBmp(bytes);
            } catch (const PictureError&) {
            }
        }
    };
    for (const QByteArray& whole : {png, bmp, jpeg, gif}) {
        for (qsizetype cut :
             {qsizetype(0), qsizetype(5), whole.size() / 3, whole.size() / 2, whole.size() - 3})
            tryAll(whole.left(cut));
        QByteArray flipped = whole;
        for (qsizetype i = 20; i < flipped.size(); i += 37)
            flipped[i] = static_cast<char>(flipped[i] ^ 0x5A);
        tryAll(flipped);
    }
    EXPECT_THROW(decodePng(png.left(png.size() / 2)), PictureError);
    EXPECT_THROW(decodeBmp(bmp.left(bmp.size() / 2)), PictureError);
    EXPECT_THROW(decodeGif(gif.left(12), false), PictureError);
    EXPECT_THROW(decodeJpeg(QByteArray("not a jpeg at all")), PictureError);
    // A GIF cut inside its third frame keeps the frames that arrived.
    const GifAnimation partial = decodeGif(gif.left(gif.size() * 3 / 5), false);
    EXPECT_GE(partial.frames.size(), 1);
    EXPECT_LT(partial.frames.size(), 5);
}

QByteArray PngChunk(const char* type, const QByteArray& data) {
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(data.size()), chunk.data());
    const QByteArray body = QByteArray(type) + data;
    chunk += body;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(
        static_cast<quint32>(crc32(0, reinterpret_cast<const Bytef*>(body.constData()),
                                   static_cast<uInt>(body.size()))),
        crc.data());
    return chunk + crc;
}

TEST(Pictures, HugePicturesAreRefusedBeforeAnythingIsAllocated) {
    // PNG claiming 100000 x 100000.
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(100000, header.data());
    qToBigEndian<quint32>(100000, header.data() + 4);
    header[8] = 8; // bit depth
    header[9] = 6; // RGBA
    const QByteArray png = QByteArray("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", header) +
                           PngChunk("IDAT", QByteArray()) + PngChunk("IEND", QByteArray());
    EXPECT_THROW(decodePng(png), PictureError);

    // BMP claiming 50000 x 50000.
    QByteArray bmp = encodeBmp(Solid(QSize(2, 2), qRgb(1, 2, 3)));
    qToLittleEndian<qint32>(50000, bmp.data() + 18);
    qToLittleEndian<qint32>(50000, bmp.data() + 22);
    EXPECT_THROW(decodeBmp(bmp), PictureError);

    // GIF whose logical screen is 60000 x 60000 around a 1 x 1 frame.
    TempTree tree;
    GifPicture gif;
    gif.screen = QSize(60000, 60000);
    gif.palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    gif.frames = {GifFrame{QRect(0, 0, 1, 1), {1}}};
    ASSERT_TRUE(WriteGif(tree / "huge.gif", gif));
    EXPECT_THROW(decodeGif(tree.Read("huge.gif"), true), PictureError);

    // JPEG whose frame header claims 65000 x 65000.
    ASSERT_TRUE(WriteJpeg(tree / "s.jpg", Solid(QSize(8, 8), qRgb(9, 9, 9))));
    QByteArray jpeg = tree.Read("s.jpg");
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    qToBigEndian<quint16>(65000, jpeg.data() + sof + 5);
    qToBigEndian<quint16>(65000, jpeg.data() + sof + 7);
    EXPECT_THROW(decodeJpeg(jpeg), PictureError);
}

TEST(Pictures, LoadPictureReadsFilesByExtension) {
    TempTree tree;
    ASSERT_TRUE(WriteGif(tree / "Anim.GIF", MovingSquareGif(QSize(30, 20), 3)));
    const DecodedPicture gif = loadPicture(tree / "Anim.GIF");
    EXPECT_EQ(gif.image.size(), QSize(30, 20));
    EXPECT_EQ(loadGifAnimation(tree / "Anim.GIF").frames.size(), 3);
    tree.Write("photo.png", EncodedPicture(Solid(QSize(5, 4), qRgb(1, 2, 3)), "JPG")); // misnamed
    EXPECT_THROW(loadPicture(tree / "photo.png"), PictureError);
    EXPECT_THROW(loadPicture(tree / "missing.png"), PictureError);
    EXPECT_THROW(loadPicture(tree / "Anim.tiff"), PictureError);
}
TEST(Pictures, HostileHeadersAreRefusedOrIgnoredCheaply) {
    // A 1x1 PNG whose zTXt chunk claims 0x7FFFFFFF bytes.
    const QByteArray png = QByteArray::fromHex(
        "89504e470d0a1a0a0000000d4948445200000001000000010802000000907753de7fffffff7a545874");
    EXPECT_THROW(decodePng(png), PictureError);

    // A GIF whose graphics control block is 5 bytes long: ignored, so colour 0 (red) stays
    // opaque. Written by giflib with a 4-byte block, then lengthened by one byte.
    TempTree tree;
    GifPicture picture;
    picture.screen = QSize(2, 2);
    picture.palette = {qRgb(255, 0, 0), qRgb(0, 255, 0)};
    picture.backgroundIndex = 1; // a transparent pixel would show green
    picture.frames = {GifFrame{QRect(0, 0, 2, 2), {0, 1, 1, 0}, 10, 0, -1, false, {}}};
    ASSERT_TRUE(WriteGif(tree / "g.gif", picture));
    QByteArray gif = tree.Read("g.gif");
    const qsizetype block = gif.indexOf(QByteArray("\x21\xF9\x04", 3));
    ASSERT_GE(block, 0) << "giflib wrote no control block";
    gif[block + 2] = 5;
    gif.insert(block + 3 + 4, '\0');
    const GifAnimation decoded = decodeGif(gif, true);
    ASSERT_EQ(decoded.frames.size(), 1);
    EXPECT_EQ(decoded.frames.first().pixel(0, 0), qRgba(255, 0, 0, 255));
}
} // namespace
