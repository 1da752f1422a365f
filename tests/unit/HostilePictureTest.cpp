// Files made to cost a decoder much: each is refused, or decoded within the budget of pixels
// produced and kept. (Their cost in time and memory is measured by the hostile-files benchmark.)

#include "picture/Picture.h"
#include "ui/ErrorText.h"

#include "FixturePictures.h"
#include "HostileFiles.h"
#include "support/TempTree.h"

#include <QtEndian>

#include <gtest/gtest.h>

namespace {
qint64 PixelsOf(const QList<QImage>& frames) {
    qint64 pixels = 0;
    for (const QImage& frame : frames)
        pixels += qint64(frame.width()) * frame.height();
    return pixels;
}

QByteArray GifBytes(const GifPicture& picture) {
    TempTree tree;
    if (!WriteGif(tree / "g.gif", picture))
        return {};
    return tree.Read("g.gif");
}

TEST(HostilePictures, JpegScansBeyondSixtyFourAreRefused) {
    const QByteArray few = JpegWithManyScans(QSize(64, 64), 1, 20);
    const DecodedPicture decoded = decodeJpeg(few);
    EXPECT_EQ(decoded.pictureSize, QSize(64, 64));

    const QByteArray many = JpegWithManyScans(QSize(64, 64), 1, 80);
    try {
        decodeJpeg(many);
        ADD_FAILURE() << "80 scans were accepted";
    } catch (const PictureError& error) {
        EXPECT_EQ(error.problem(), PictureProblem::TooManyScans);
        EXPECT_EQ(errorText(error), "JPEG 文件无法解码：扫描次数超过 64。");
    }
    // Too much working memory is reported as a picture too large, not libjpeg's words.
    try {
        decodeJpeg(JpegWithManyScans(QSize(8000, 8000), 3, 1));
        ADD_FAILURE() << "8000x8000 progressive colour was accepted";
    } catch (const PictureError& error) {
        EXPECT_EQ(errorText(error), "JPEG 文件无法解码：图像太大（8000×8000）。");
    }
}

TEST(HostilePictures, ProgressiveJpegNeedingTooMuchWorkingMemoryIsRefused) {
    // Every coefficient of 8000x8000 in colour stays in memory: 192 MB.
    EXPECT_THROW(decodeJpeg(JpegWithManyScans(QSize(8000, 8000), 3, 1)), PictureError);
    // At 4000x4000 it fits (48 MB), and a thumbnail is made from it.
    const DecodedPicture smaller =
        decodeJpeg(JpegWithManyScans(QSize(4000, 4000), 3, 1), [](QSize) { return QSize(40, 40); });
    EXPECT_EQ(smaller.pictureSize, QSize(4000, 4000));
    EXPECT_EQ(smaller.image.size(), QSize(500, 500));
}

TEST(HostilePictures, JpegLargerThanTheDecodingBudgetComesReduced) {
    // 6000x6000 is accepted (the declared limit is higher) but decoded at half size.
    TempTree tree;
    QImage grey(16, 16, QImage::Format_RGB32);
    grey.fill(qRgb(128, 128, 128));
    ASSERT_TRUE(WriteJpeg(tree / "s.jpg", grey));
    QByteArray jpeg = tree.Read("s.jpg");
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    qToBigEndian<quint16>(6000, jpeg.data() + sof + 5);
    qToBigEndian<quint16>(6000, jpeg.data() + sof + 7);
    const DecodedPicture decoded = decodeJpeg(jpeg);
    EXPECT_EQ(decoded.pictureSize, QSize(6000, 6000));
    EXPECT_EQ(decoded.image.size(), QSize(3000, 3000));
}

TEST(HostilePictures, GifCanvasAndFramesStayWithinTheBudget) {
    struct Case {
        const char* what;
        QByteArray gif;
        bool refused;
        int mostFrames;
    };
    const Case cases[] = {
        {"1x1 on 8000x8000: the canvas alone is over the budget",
         GifDotOnHugeCanvas(QSize(8000, 8000)), true, 0},
        {"1x1 on 5000x5000: one frame, the canvas itself", GifDotOnHugeCanvas(QSize(5000, 5000)),
         false, 1},
        {"200 restoring frames on 5000x5000: a copy of the canvas would pass the budget",
         GifRestoringOnHugeCanvas(QSize(5000, 5000), 200), false, 1},
        {"20 frames of 65535x480 on 8x8: decoding stops at the budget",
         GifWithHugeFrames(QSize(65535, 480), 20), false, 5},
        {"a frame of 65535x976 on 8x8: above the budget, ends the animation",
         GifWithHugeFrames(QSize(65535, 976), 3), false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_FALSE(c.gif.isEmpty());
        if (c.refused) {
            EXPECT_THROW(decodeGif(c.gif, false), PictureError);
            continue;
        }
        const GifAnimation animation = decodeGif(c.gif, false);
        EXPECT_GE(animation.frames.size(), 1);
        EXPECT_LE(animation.frames.size(), c.mostFrames);
        EXPECT_EQ(animation.frames.size(), animation.delaysMs.size());
        EXPECT_LE(PixelsOf(animation.frames), MaxDecodedPixels);
    }
}

TEST(HostilePictures, RestoringFramesPutBackOnlyWhatTheyCovered) {
    // A 4x1 screen: frame 1 paints the whole row green; frame 2 (restore) paints pixel 1 red;
    // frame 3 paints pixel 3 blue. After frame 2 is restored only pixel 1 returns to green.
    GifPicture picture;
    picture.screen = QSize(4, 1);
    picture.palette = {qRgb(0, 255, 0), qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 0, 0)};
    picture.frames = {GifFrame{QRect(0, 0, 4, 1), {0, 0, 0, 0}, 10, 1, -1, false, {}},
                      GifFrame{QRect(1, 0, 1, 1), {1}, 10, 3, -1, false, {}},
                      GifFrame{QRect(3, 0, 1, 1), {2}, 10, 1, -1, false, {}}};
    const GifAnimation animation = decodeGif(GifBytes(picture), false);
    ASSERT_EQ(animation.frames.size(), 3);
    EXPECT_EQ(animation.frames[1].pixel(1, 0), qRgb(255, 0, 0));
    EXPECT_EQ(animation.frames[2].pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(animation.frames[2].pixel(3, 0), qRgb(0, 0, 255));
}

TEST(HostilePictures, PreviewsAreDecodedAtTheSizeTheyAreShown) {
    TempTree tree;
    QImage wide = TestPattern(QSize(600, 300));
    ASSERT_TRUE(wide.save(tree / "wide.png"));
    ASSERT_TRUE(WriteJpeg(tree / "photo.jpg", TestPattern(QSize(2400, 1600))));
    ASSERT_TRUE(WriteGif(tree / "anim.gif", MovingSquareGif(QSize(400, 400), 3)));
    struct Case {
        QString file;
        QSize picture;
        QSize frame;
        int frames;
    };
    const Case cases[] = {
        {"wide.png", {600, 300}, {256, 128}, 1},
        {"photo.jpg", {2400, 1600}, {256, 170}, 1},
        {"anim.gif", {400, 400}, {256, 256}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const PicturePreview preview = loadPicturePreview(tree / c.file, QSize(256, 256), nullptr);
        EXPECT_EQ(preview.pictureSize, c.picture);
        ASSERT_EQ(preview.frames.size(), c.frames);
        EXPECT_EQ(preview.delaysMs.size(), c.frames);
        for (const QImage& frame : preview.frames)
            EXPECT_EQ(frame.size(), c.frame);
    }
    // The moving square is still where it was, at the reduced scale.
    const PicturePreview anim = loadPicturePreview(tree / "anim.gif", QSize(256, 256), nullptr);
    EXPECT_NE(anim.frames[0], anim.frames[1]);

    // A cancelled request decodes nothing and says so.
    const std::atomic<bool> cancelled = true;
    EXPECT_THROW(loadPicturePreview(tree / "anim.gif", QSize(256, 256), &cancelled), PictureError);
    EXPECT_THROW(loadPicturePreview(tree / "photo.jpg", QSize(256, 256), &cancelled), PictureError);
}

TEST(HostilePictures, FilesTheFuzzersFoundAreHandled) {
    // A GIF whose record after the control block cannot be read: refused, not an empty result.
    const QByteArray unreadable = QByteArray::fromBase64(
        "R0lGODlhWgBaAPAAAAAAAAAAAAAAAAD///8h+fwACgAAACwAAAAAAQABAAACAkwBADs=");
    try {
        const GifAnimation gif = decodeGif(unreadable, true);
        EXPECT_EQ(gif.frames.size(), 1);
    } catch (const PictureError&) {
    }
    // A canvas 64 times taller than wide, fitted into a small box, keeps a column of pixels.
    GifPicture tall;
    tall.screen = QSize(2, 600);
    tall.palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    tall.frames = {GifFrame{QRect(0, 0, 1, 1), {1}, 10, 0, -1, false, {}},
                   GifFrame{QRect(1, 1, 1, 1), {0}, 10, 0, -1, false, {}}};
    const GifAnimation fitted = decodeGif(GifBytes(tall), false, FrameFitting{QSize(64, 64)});
    ASSERT_EQ(fitted.frames.size(), 2);
    for (const QImage& frame : fitted.frames)
        EXPECT_EQ(frame.size(), QSize(1, 64));
    // A small BMP that claims a large picture is refused when only a small one may come.
    QByteArray claims = encodeBmp(QImage(2, 2, QImage::Format_RGB32));
    qToLittleEndian<qint32>(2000, claims.data() + 18);
    EXPECT_THROW(decodeBmp(claims, 40 * 40), PictureError);
}
} // namespace
