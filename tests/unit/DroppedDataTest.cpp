#include "popup/DroppedData.h"

#include "FixturePictures.h"
#include "picture/Picture.h"
#include "support/TempTree.h"

#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include <thread>

namespace {
QByteArray AnimatedGif() {
    TempTree made;
    EXPECT_TRUE(WriteGif(made / "m.gif", MovingSquareGif(QSize(24, 24), 3)));
    return made.Read("m.gif");
}

bool WriteFile(const QString& path, const QByteArray& bytes, QIODevice::OpenMode mode) {
    QFile file(path);
    return file.open(mode) && file.write(bytes) == bytes.size();
}

// What Firefox offers for a picture on a page: its address, the image encoded afresh as PNG,
// and the direct save of the picture's own file.
QMimeData* FirefoxLikeDrag(const QByteArray& directSaveAnswer) {
    auto* mime = new QMimeData;
    mime->setUrls({QUrl("http://127.0.0.1:8080/media/dance.gif")});
    mime->setData("image/png", EncodedPicture(TestPattern(QSize(24, 24)), "PNG"));
    mime->setData("image/gif", {}); // listed, but empty
    mime->setData("XdndDirectSave0", directSaveAnswer);
    return mime;
}

TEST(DroppedData, TheSourceSavesThePicturesOwnFileWhereAsked) {
    const QByteArray gif = AnimatedGif();
    std::unique_ptr<QMimeData> drag(FirefoxLikeDrag("S"));
    QString askedFor;
    const DroppedData data = readDroppedData(*drag, [&](const QString& path) {
        askedFor = path;
        return WriteFile(path, gif, QIODevice::WriteOnly);
    });
    EXPECT_EQ(data.pictureBytes, gif) << "the GIF's own bytes, not the PNG";
    EXPECT_EQ(data.pictureAddress, "http://127.0.0.1:8080/media/dance.gif");
    ASSERT_FALSE(askedFor.isEmpty());
    EXPECT_FALSE(QFile::exists(askedFor)) << "the temporary folder is gone";
}

// The source answers before it has written the file: half a file is never taken.
TEST(DroppedData, AFileStillBeingWrittenIsWaitedFor) {
    const QByteArray gif = AnimatedGif();
    std::unique_ptr<QMimeData> drag(FirefoxLikeDrag("S"));
    std::thread writer;
    const DroppedData data = readDroppedData(*drag, [&](const QString& path) {
        if (!WriteFile(path, gif.left(gif.size() / 2), QIODevice::WriteOnly))
            return false;
        writer = std::thread([path, rest = gif.mid(gif.size() / 2)] {
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            WriteFile(path, rest, QIODevice::Append);
        });
        return true;
    });
    writer.join();
    EXPECT_EQ(data.pictureBytes, gif);
}

// Without the direct save, or when the source says it failed, the picture comes as the
// browser encoded it.
TEST(DroppedData, WithoutADirectSaveTheEncodedPictureIsTaken) {
    const QByteArray png = EncodedPicture(TestPattern(QSize(24, 24)), "PNG");
    const struct {
        const char* answer;
        bool offered;
        const char* what;
    } cases[] = {
        {"S", false, "the source offers no save"},
        {"E", true, "the source failed"},
        {"F", true, "the source asks for another way"},
    };
    for (const auto& c : cases) {
        std::unique_ptr<QMimeData> drag(FirefoxLikeDrag(c.answer));
        const DroppedData data = readDroppedData(*drag, [&](const QString&) { return c.offered; });
        EXPECT_EQ(data.pictureBytes, png) << c.what;
    }
    std::unique_ptr<QMimeData> drag(FirefoxLikeDrag("S"));
    EXPECT_EQ(readDroppedData(*drag).pictureBytes, png) << "no way to ask";
}

// Chromium's untyped bytes are the picture's file already: no save is asked for.
TEST(DroppedData, OwnBytesOfferedAsDataNeedNoSave) {
    const QByteArray gif = AnimatedGif();
    QMimeData drag;
    drag.setData("XdndDirectSave0", "S");
    drag.setData("application/octet-stream", gif);
    bool asked = false;
    const DroppedData data = readDroppedData(drag, [&](const QString&) { return asked = true; });
    EXPECT_EQ(data.pictureBytes, gif);
    EXPECT_FALSE(asked);
}

TEST(PictureContent, WholeFilesByTheirEnds) {
    const QByteArray gif = AnimatedGif();
    const QByteArray png = EncodedPicture(TestPattern(QSize(8, 8)), "PNG");
    const QByteArray jpeg = EncodedPicture(TestPattern(QSize(8, 8)), "JPEG");
    const QByteArray bmp = encodeBmp(TestPattern(QSize(8, 8)));
    QByteArray bmpWithoutSize = bmp;
    bmpWithoutSize.replace(2, 4, QByteArray(4, '\0'));
    const struct {
        QByteArray bytes;
        bool whole;
        const char* what;
    } cases[] = {
        {gif, true, "GIF"},
        {gif.chopped(1), false, "GIF without its trailer"},
        {png, true, "PNG"},
        {png.chopped(4), false, "PNG cut in its IEND chunk"},
        {jpeg, true, "JPEG"},
        {jpeg.chopped(2), false, "JPEG without its end marker"},
        {bmp, true, "BMP"},
        {bmp.chopped(10), false, "BMP shorter than it says"},
        {bmpWithoutSize, true, "BMP that states no size"},
        {"not a picture", false, "no picture"},
        {"", false, "nothing"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pictureBytesEndWhole(c.bytes), c.whole) << c.what;
}
} // namespace
