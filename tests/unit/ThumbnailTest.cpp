#include "thumbnails/ThumbnailCache.h"

#include "FixturePictures.h"
#include "picture/Picture.h"
#include "platform/FileSystem.h"
#include "support/TempTree.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {
TEST(Thumbnails, SizeRule) {
    const struct {
        QSize picture;
        QSize thumbnail;
    } cases[] = {
        {{30, 20}, {30, 20}},  {{40, 40}, {40, 40}}, {{40, 41}, {39, 40}}, {{41, 40}, {40, 39}},
        {{100, 50}, {40, 20}}, {{64, 4}, {40, 2}}, // 2.5 rounds to 2
        {{64, 12}, {40, 8}},                       // 7.5 rounds to 8
        {{4, 64}, {2, 40}},    {{12, 64}, {8, 40}},  {{41, 41}, {40, 40}}, {{4000, 3000}, {40, 30}},
        {{1000, 1}, {40, 1}},  {{1, 1}, {1, 1}},     {{1, 1000}, {1, 40}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(thumbnailSize(c.picture), c.thumbnail)
            << c.picture.width() << "x" << c.picture.height();
}

QByteArray Png(QSize size, QRgb colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

class ThumbnailCacheFiles : public ::testing::Test {
protected:
    void SetUp() override {
        cache.clearMemory();
        cache.resetCounters();
    }
    // Sets a file's write time (nanoseconds since the Unix epoch).
    void SetTime(const QString& relative, std::int64_t time) {
        ASSERT_TRUE(setFileWriteTime(tree / relative, time));
    }
    std::int64_t Time(const QString& relative) { return fileWriteTime(tree / relative).value(); }
    TempTree tree;
    ThumbnailCache cache;
};

TEST_F(ThumbnailCacheFiles, MadeOnceAsABmpCarryingThePicturesTimeThenReused) {
    tree.Write("a.png", Png(QSize(100, 50), qRgb(200, 30, 30)));
    const QImage first = cache.thumbnail(tree / "a.png");
    ASSERT_EQ(first.size(), QSize(40, 20));
    EXPECT_EQ(first.pixel(20, 10), qRgb(200, 30, 30));
    EXPECT_EQ(cache.counters().pictureDecodes, 1);

    const QByteArray file = tree.Read("a.png.thb");
    ASSERT_GE(file.size(), 54);
    EXPECT_TRUE(file.startsWith("BM"));
    EXPECT_EQ(qFromLittleEndian<quint32>(file.constData() + 2), quint32(file.size()));
    EXPECT_EQ(qFromLittleEndian<qint32>(file.constData() + 18), 40);
    EXPECT_EQ(qFromLittleEndian<qint32>(file.constData() + 22), 20);
    EXPECT_EQ(qFromLittleEndian<quint32>(file.constData() + 30), 0u) << "uncompressed";
    EXPECT_EQ(Time("a.png.thb"), Time("a.png"));

    // The picture is garbled but keeps its time: the cache still answers, so it was not decoded.
    const std::int64_t time = Time("a.png");
    tree.Write("a.png", "garbage");
    SetTime("a.png", time);
    cache.clearMemory();
    EXPECT_EQ(cache.thumbnail(tree / "a.png").size(), QSize(40, 20));
    EXPECT_EQ(cache.counters().pictureDecodes, 1);
    EXPECT_EQ(cache.counters().cacheFileReads, 1);
    EXPECT_EQ(cache.thumbnail(tree / "a.png").size(), QSize(40, 20));
    EXPECT_EQ(cache.counters().memoryHits, 1);
}

// Libraries thumbnailed before kept each picture's time on its `.thb` to the 100-ns tick:
// those thumbnails still count as current and are not made again.
TEST_F(ThumbnailCacheFiles, AThumbnailWithThePicturesTimeToTheTickIsCurrent) {
    tree.Write("a.png", Png(QSize(60, 60), qRgb(0, 0, 200)));
    ASSERT_FALSE(cache.thumbnail(tree / "a.png").isNull());
    const std::int64_t time = 1'700'000'000'123'456'789LL;
    SetTime("a.png", time);
    SetTime("a.png.thb", time - time % 100);
    cache.clearMemory();
    cache.resetCounters();
    EXPECT_FALSE(cache.thumbnail(tree / "a.png").isNull());
    EXPECT_EQ(cache.counters().pictureDecodes, 0);
}

TEST_F(ThumbnailCacheFiles, ANewerOrOlderPictureOrATouchedCacheIsMadeAgain) {
    tree.Write("a.png", Png(QSize(60, 60), qRgb(0, 0, 200)));
    ASSERT_FALSE(cache.thumbnail(tree / "a.png").isNull());
    const std::int64_t time = Time("a.png");
    const struct {
        const char* what;
        const char* file;
        std::int64_t shift;
    } changes[] = {
        {"picture newer", "a.png", 1'000'000'000},
        {"picture older", "a.png", -5'000'000'000},
        {"cache touched", "a.png.thb", 100}, // one tick
    };
    int decodes = cache.counters().pictureDecodes;
    QRgb colour = qRgb(0, 200, 0);
    for (const auto& change : changes) {
        // A new picture content under the changed time shows that the thumbnail was redone.
        tree.Write("a.png", Png(QSize(60, 60), colour));
        SetTime("a.png", time);
        SetTime(change.file, time + change.shift);
        const QImage thumbnail = cache.thumbnail(tree / "a.png");
        EXPECT_EQ(cache.counters().pictureDecodes, ++decodes) << change.what;
        EXPECT_EQ(thumbnail.pixel(5, 5), colour) << change.what;
        EXPECT_EQ(Time("a.png.thb"), Time("a.png")) << change.what;
        colour = qRgb(qRed(colour) + 20, 100, 0);
    }
}

TEST_F(ThumbnailCacheFiles, DamagedCacheWithTheRightTimeGivesNothingAndStays) {
    tree.Write("a.png", Png(QSize(60, 60), qRgb(0, 0, 200)));
    tree.Write("a.png.thb", "BM but nothing else");
    SetTime("a.png.thb", Time("a.png"));
    EXPECT_TRUE(cache.thumbnail(tree / "a.png").isNull());
    EXPECT_TRUE(cache.thumbnail(tree / "a.png").isNull());
    EXPECT_EQ(cache.counters().pictureDecodes, 0);
    EXPECT_EQ(tree.Read("a.png.thb"), "BM but nothing else");
}

TEST_F(ThumbnailCacheFiles, AnEmptyCacheFileWithTheRightTimeIsMadeAgain) {
    // What a crash can leave of a cache file that was renamed in before its bytes reached the disk.
    tree.Write("a.png", Png(QSize(60, 60), qRgb(0, 0, 200)));
    tree.Write("a.png.thb", "");
    SetTime("a.png.thb", Time("a.png"));
    EXPECT_EQ(cache.thumbnail(tree / "a.png").size(), QSize(40, 40));
    EXPECT_EQ(cache.counters().pictureDecodes, 1);
    EXPECT_TRUE(tree.Read("a.png.thb").startsWith("BM"));
}

TEST_F(ThumbnailCacheFiles, ReadOnlyFolderShowsNoThumbnailAndDecodesEveryTime) {
    tree.Write("ro/a.png", Png(QSize(60, 60), qRgb(0, 0, 200)));
    tree.SetReadOnly("ro", true);
    EXPECT_TRUE(cache.thumbnail(tree / "ro/a.png").isNull());
    EXPECT_TRUE(cache.thumbnail(tree / "ro/a.png").isNull());
    EXPECT_EQ(cache.counters().pictureDecodes, 2);
    EXPECT_EQ(tree.Names("ro"), QStringList{"a.png"});
}

TEST_F(ThumbnailCacheFiles, MissingOrUndecodablePictureGivesNothing) {
    EXPECT_TRUE(cache.thumbnail(tree / "gone.png").isNull());
    tree.Write("bad.jpg", "not a jpeg");
    EXPECT_TRUE(cache.thumbnail(tree / "bad.jpg").isNull());
    EXPECT_FALSE(tree.Names().contains("gone.png.thb"));
    EXPECT_FALSE(tree.Names().contains("bad.jpg.thb"));
}

TEST_F(ThumbnailCacheFiles, EveryKindGivesTheSizeRulesThumbnail) {
    ASSERT_TRUE(WriteJpeg(tree / "big.jpg", TestPattern(QSize(1600, 1200)), true));
    ASSERT_TRUE(WriteGif(tree / "anim.gif", MovingSquareGif(QSize(64, 12), 4)));
    tree.Write("small.bmp", encodeBmp(TestPattern(QSize(30, 20))));
    tree.Write("tall.png", Png(QSize(4, 64), qRgb(1, 2, 3)));
    EXPECT_EQ(cache.thumbnail(tree / "big.jpg").size(), QSize(40, 30));
    EXPECT_EQ(cache.thumbnail(tree / "anim.gif").size(), QSize(40, 8));
    EXPECT_EQ(cache.thumbnail(tree / "small.bmp").size(), QSize(30, 20));
    EXPECT_EQ(cache.thumbnail(tree / "tall.png").size(), QSize(2, 40));
    // The JPEG was decoded at a reduced scale: its thumbnail still shows the picture's colours.
    EXPECT_NE(cache.thumbnail(tree / "big.jpg").pixel(20, 15), qRgb(255, 255, 255));
}
TEST_F(ThumbnailCacheFiles, AVeryWidePictureKeepsARowOfPixels) {
    tree.Write("wide.png", Png(QSize(1000, 1), qRgb(10, 200, 10)));
    EXPECT_EQ(cache.thumbnail(tree / "wide.png").size(), QSize(40, 1));
    EXPECT_EQ(decodeBmp(tree.Read("wide.png.thb")).size(), QSize(40, 1));
}
TEST_F(ThumbnailCacheFiles, ALinkWhereTheCacheFileBelongsIsNeverReadOrWrittenThrough) {
    TempTree outside;
    outside.Write("notes.txt", "mine");
    tree.Write("a.png", Png(QSize(80, 40), qRgb(0, 0, 200)));
    ASSERT_TRUE(QFile::link(outside / "notes.txt", tree / "a.png.thb"));
    // Even a link carrying the picture's time is no cache file.
    ASSERT_TRUE(setFileWriteTime(outside / "notes.txt", Time("a.png")));
    EXPECT_EQ(cache.thumbnail(tree / "a.png").size(), QSize(40, 20));
    EXPECT_EQ(cache.counters().pictureDecodes, 1);
    EXPECT_TRUE(isPlainFile(tree / "a.png.thb"));
    EXPECT_EQ(outside.Read("notes.txt"), "mine");
    EXPECT_EQ(fileWriteTime(outside / "notes.txt").value(), Time("a.png")) << "time untouched";

    tree.Write("b.png", Png(QSize(80, 40), qRgb(0, 0, 200)));
    ASSERT_TRUE(QFile::link(outside / "created.bmp", tree / "b.png.thb"));
    EXPECT_FALSE(cache.thumbnail(tree / "b.png").isNull());
    EXPECT_EQ(outside.Names(), QStringList{"notes.txt"}) << "nothing made where the link pointed";
}
} // namespace

namespace {
TEST(ThumbnailMemory, HoldsAtMostItsLimitAndDropsTheLeastRecentlyUsed) {
    TempTree tree;
    // Room for three 40x40 thumbnails (6,400 bytes each), not four.
    ThumbnailCache cache(3 * 6400 + 100);
    for (const char* name : {"a.png", "b.png", "c.png", "d.png"})
        tree.Write(name, Png(QSize(80, 80), qRgb(10, 20, 30)));
    for (const char* name : {"a.png", "b.png", "c.png"})
        ASSERT_FALSE(cache.thumbnail(tree / name).isNull());
    EXPECT_EQ(cache.memoryBytes(), 3 * 6400);
    cache.thumbnail(tree / "a.png"); // a is now the most recently used
    cache.resetCounters();

    ASSERT_FALSE(cache.thumbnail(tree / "d.png").isNull()); // b goes
    EXPECT_LE(cache.memoryBytes(), 3 * 6400 + 100);
    cache.resetCounters();
    cache.thumbnail(tree / "a.png");
    cache.thumbnail(tree / "c.png");
    cache.thumbnail(tree / "d.png");
    EXPECT_EQ(cache.counters().memoryHits, 3);
    cache.thumbnail(tree / "b.png");
    EXPECT_EQ(cache.counters().cacheFileReads, 1) << "b was dropped and read from its file";
}
} // namespace
