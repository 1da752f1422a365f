#include "thumbnails/ThumbnailCache.h"

#include "FixturePictures.h"
#include "platform/FileSystem.h"
#include "support/TempTree.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <gtest/gtest.h>

namespace {
TEST(ScaledThumbnails, SideForEachRatio) {
    const struct {
        double ratio;
        int side;
    } cases[] = {{0.5, 40}, {1.0, 40}, {1.1, 44},  {1.25, 50}, {1.33, 54},
                 {1.5, 60}, {2.0, 80}, {2.25, 90}, {3.0, 120}, {4.0, 120}};
    for (const auto& c : cases)
        EXPECT_EQ(thumbnailSideFor(c.ratio), c.side) << c.ratio;
}

// The device size covers the 40x40 layout's rectangle pixel for pixel, and gives it back.
TEST(ScaledThumbnails, DeviceSizesScaleTheLayoutsSize) {
    const struct {
        QSize picture;
        int side;
        QSize device;
    } cases[] = {
        {{100, 50}, 40, {40, 20}},   {{100, 50}, 80, {80, 40}}, {{100, 50}, 60, {60, 30}},
        {{1000, 333}, 80, {80, 26}}, // shown 40x13: 13 x 2
        {{30, 20}, 80, {60, 40}},    // a small picture keeps its shown size, enlarged smoothly
        {{1000, 1}, 120, {120, 3}},  {{41, 41}, 60, {60, 60}},  {{13, 7}, 54, {18, 9}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(deviceThumbnailSize(c.picture, c.side), c.device)
            << c.picture.width() << "x" << c.picture.height() << " at " << c.side;
        QImage image(c.device, QImage::Format_RGB32);
        image.setDevicePixelRatio(c.side / 40.0);
        EXPECT_EQ(shownThumbnailSize(image), thumbnailSize(c.picture))
            << c.picture.width() << "x" << c.picture.height() << " at " << c.side;
    }
}

class ScaledThumbnailFolder : public ::testing::Test {
protected:
    QString CacheFolder() const { return home / "cache/jolvex/thumbnails"; }
    QStringList CacheNames() const {
        return QDir(CacheFolder()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
    void WritePicture(const QString& name, QSize size, QRgb accent = qRgb(0xE0, 0x40, 0x40)) {
        ASSERT_TRUE(TestPattern(size, accent).save(library / name));
    }
    TempTree library;
    TempTree home;
    ThumbnailCache cache{ThumbnailCache::DefaultMemoryLimit, home / "cache/jolvex/thumbnails"};
};

TEST_F(ScaledThumbnailFolder, MadeIntoTheCacheFolderNotBesideThePictureThenReused) {
    WritePicture("a.png", QSize(200, 100));
    const QImage made = cache.thumbnail(library / "a.png", 80);
    ASSERT_EQ(made.size(), QSize(80, 40));
    EXPECT_EQ(made.devicePixelRatio(), 2.0);
    EXPECT_EQ(library.Names(), QStringList{"a.png"}) << "nothing beside the picture";
    ASSERT_EQ(CacheNames().size(), 1);
    EXPECT_TRUE(CacheNames().first().endsWith("-80.png")) << CacheNames().first().toStdString();

    cache.clearMemory();
    cache.resetCounters();
    const QImage read = cache.thumbnail(library / "a.png", 80);
    EXPECT_EQ(cache.counters().pictureDecodes, 0);
    EXPECT_EQ(cache.counters().cacheFileReads, 1);
    EXPECT_EQ(read.devicePixelRatio(), 2.0);
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32),
              made.convertToFormat(QImage::Format_RGB32));

    // Each side is a thumbnail of its own; the 40x40 one still goes beside the picture.
    EXPECT_EQ(cache.thumbnail(library / "a.png", 60).size(), QSize(60, 30));
    EXPECT_EQ(cache.thumbnail(library / "a.png").size(), QSize(40, 20));
    EXPECT_EQ(CacheNames().size(), 2);
    EXPECT_EQ(library.Names(), QStringList({"a.png", "a.png.thb"}));
}

TEST_F(ScaledThumbnailFolder, AChangedPictureGetsANewThumbnail) {
    WritePicture("a.png", QSize(200, 200), qRgb(255, 0, 0));
    const QImage red = cache.thumbnail(library / "a.png", 80);
    WritePicture("a.png", QSize(300, 150), qRgb(0, 0, 255)); // another size in bytes
    ASSERT_TRUE(
        setFileWriteTime(library / "a.png", *fileWriteTime(library / "a.png") + 5'000'000'000));
    const QImage blue = cache.thumbnail(library / "a.png", 80);
    EXPECT_EQ(blue.size(), QSize(80, 40));
    EXPECT_EQ(CacheNames().size(), 2) << "the old one waits for the tidying";
}

TEST_F(ScaledThumbnailFolder, ADamagedOrForeignCacheFileIsMadeAgain) {
    WritePicture("a.png", QSize(200, 200));
    cache.thumbnail(library / "a.png", 80);
    const QString file = CacheFolder() + "/" + CacheNames().first();
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"cut short", QByteArray("\x89PNG\r\n\x1a\n", 8)},
        {"empty", QByteArray()},
        {"too large a picture",
         [] {
             QByteArray bytes;
             QBuffer buffer(&bytes);
             buffer.open(QIODevice::WriteOnly);
             TestPattern(QSize(200, 200)).save(&buffer, "PNG");
             return bytes;
         }()},
    };
    for (const auto& c : cases) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(c.bytes);
        out.close();
        cache.clearMemory();
        cache.resetCounters();
        EXPECT_EQ(cache.thumbnail(library / "a.png", 80).size(), QSize(80, 80)) << c.what;
        EXPECT_EQ(cache.counters().pictureDecodes, 1) << c.what;
        EXPECT_EQ(QImageReader(file).size(), QSize(80, 80)) << c.what << ": written again";
    }
}

// The user's cache folder is no reason to show nothing: the thumbnail is kept in memory.
TEST_F(ScaledThumbnailFolder, AnUnwritableCacheFolderStillGivesTheThumbnail) {
    WritePicture("a.png", QSize(200, 200));
    home.Write("cache/jolvex", "a file where the folder belongs");
    EXPECT_EQ(cache.thumbnail(library / "a.png", 80).size(), QSize(80, 80));
    cache.resetCounters();
    EXPECT_EQ(cache.thumbnail(library / "a.png", 80).size(), QSize(80, 80));
    EXPECT_EQ(cache.counters().memoryHits, 1);
    EXPECT_EQ(home.Read("cache/jolvex"), "a file where the folder belongs");
}

TEST_F(ScaledThumbnailFolder, TidyingRemovesWhatNoPictureNeedsAndKeepsWithinTheBudget) {
    for (const char* name : {"keep.png", "gone.png", "changed.png"})
        WritePicture(name, QSize(200, 200));
    for (const char* name : {"keep.png", "gone.png", "changed.png"})
        ASSERT_FALSE(cache.thumbnail(library / name, 80).isNull());
    ASSERT_EQ(CacheNames().size(), 3);
    QFile::remove(library / "gone.png");
    ASSERT_TRUE(setFileWriteTime(library / "changed.png",
                                 *fileWriteTime(library / "changed.png") + 3'000'000'000));
    home.Write("cache/jolvex/thumbnails/notes.txt", "not ours");
    home.Write("cache/jolvex/thumbnails/0123456789012345678901234567890123456789-80.png",
               "ours by its name, but no picture named inside");

    const auto tidied = cache.tidyScaledFiles();
    EXPECT_EQ(tidied.removed, 3);
    EXPECT_EQ(CacheNames().size(), 2) << CacheNames().join(' ').toStdString();
    EXPECT_TRUE(CacheNames().contains("notes.txt")) << "a file not of ours is left alone";
    cache.clearMemory();
    cache.resetCounters();
    cache.thumbnail(library / "keep.png", 80);
    EXPECT_EQ(cache.counters().cacheFileReads, 1) << "the current one is kept";

    // Over the budget, the least recently written go first.
    WritePicture("newer.png", QSize(200, 200));
    ASSERT_FALSE(cache.thumbnail(library / "newer.png", 80).isNull());
    const QString keep = cache.scaledFiles().fileFor(library / "keep.png", 80);
    const QString newer = cache.scaledFiles().fileFor(library / "newer.png", 80);
    ASSERT_TRUE(setFileWriteTime(keep, *fileWriteTime(newer) - 60'000'000'000));
    const auto trimmed = cache.tidyScaledFiles(QFileInfo(newer).size());
    EXPECT_EQ(trimmed.removed, 1);
    EXPECT_EQ(trimmed.bytesKept, QFileInfo(newer).size());
    EXPECT_TRUE(QFileInfo::exists(newer));
    EXPECT_FALSE(QFileInfo::exists(keep));
}
} // namespace
