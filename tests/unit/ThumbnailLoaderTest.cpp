#include "thumbnails/ThumbnailLoader.h"

#include "FixturePictures.h"
#include "platform/FileSystem.h"
#include "support/TempTree.h"
#include "thumbnails/ThumbnailCache.h"

#include <QSet>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {
class ThumbnailLoading : public ::testing::Test {
protected:
    void SetUp() override {
        cache.clearMemory();
        cache.resetCounters();
    }
    void TearDown() override {
        loader.waitForIdle();
        QTest::qWait(20);
    }
    bool WaitIdle() {
        return QTest::qWaitFor([&] { return !loader.busy(); }, 10000);
    }
    ThumbnailCache cache;
    ThumbnailLoader loader{cache};
    TempTree tree;
};

TEST_F(ThumbnailLoading, AMissingThumbnailIsMadeInTheBackgroundThenServedAtOnce) {
    ASSERT_TRUE(WriteJpeg(tree / "photo.jpg", TestPattern(QSize(800, 600))));
    QSignalSpy ready(&loader, &ThumbnailLoader::ready);
    EXPECT_TRUE(loader.thumbnail(tree / "photo.jpg").isNull());
    EXPECT_TRUE(loader.busy());
    // Asked again before its answer arrives: not made a second time. The worker may have
    // written the file meanwhile; then it is served from there.
    const QImage again = loader.thumbnail(tree / "photo.jpg");
    EXPECT_TRUE(again.isNull() || again.size() == QSize(40, 30));
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(ready.count(), 1);
    EXPECT_EQ(ready.first().first().toString(), tree / "photo.jpg");
    EXPECT_EQ(cache.counters().pictureDecodes, 1);
    EXPECT_EQ(loader.thumbnail(tree / "photo.jpg").size(), QSize(40, 30));
    EXPECT_EQ(fileWriteTime(tree / "photo.jpg.thb"), fileWriteTime(tree / "photo.jpg"));
    EXPECT_EQ(cache.counters().pictureDecodes, 1);
}

TEST_F(ThumbnailLoading, AFailedPictureIsNotTriedAgainUntilItChanges) {
    tree.Write("bad.png", "not a png");
    QSignalSpy ready(&loader, &ThumbnailLoader::ready);
    EXPECT_TRUE(loader.thumbnail(tree / "bad.png").isNull());
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(ready.count(), 1);
    for (int paint = 0; paint < 5; ++paint)
        EXPECT_TRUE(loader.thumbnail(tree / "bad.png").isNull());
    EXPECT_FALSE(loader.busy());
    EXPECT_EQ(cache.counters().pictureDecodes, 1);

    ASSERT_TRUE(TestPattern(QSize(60, 60)).save(tree / "bad.png", "PNG"));
    ASSERT_TRUE(
        setFileWriteTime(tree / "bad.png", *fileWriteTime(tree / "bad.png") + 1'000'000'000));
    EXPECT_TRUE(loader.thumbnail(tree / "bad.png").isNull());
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(loader.thumbnail(tree / "bad.png").size(), QSize(40, 40));
}

TEST_F(ThumbnailLoading, CancelledRequestsAreDroppedBeforeTheyStart) {
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(WriteJpeg(tree / QString("p%1.jpg").arg(i), TestPattern(QSize(1600, 1200))));
    for (int i = 0; i < 12; ++i)
        loader.thumbnail(tree / QString("p%1.jpg").arg(i));
    loader.cancelPending();
    ASSERT_TRUE(WaitIdle());
    EXPECT_LT(cache.counters().pictureDecodes, 12);
    // Asked again, the dropped ones are made.
    for (int i = 0; i < 12; ++i)
        loader.thumbnail(tree / QString("p%1.jpg").arg(i));
    ASSERT_TRUE(WaitIdle());
    for (int i = 0; i < 12; ++i)
        EXPECT_FALSE(loader.thumbnail(tree / QString("p%1.jpg").arg(i)).isNull()) << i;
}
TEST_F(ThumbnailLoading, AskedAgainRightAfterACancelEveryThumbnailIsMadeAndAnnounced) {
    // A popup closed and opened again at once: every cell must still get its thumbnail.
    constexpr int kCount = 40;
    for (int i = 0; i < kCount; ++i)
        ASSERT_TRUE(WriteJpeg(tree / QString("p%1.jpg").arg(i), TestPattern(QSize(800, 600))));
    QSignalSpy ready(&loader, &ThumbnailLoader::ready);
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < kCount; ++i)
            loader.thumbnail(tree / QString("p%1.jpg").arg(i));
        if (round < 2)
            loader.cancelPending();
    }
    ASSERT_TRUE(WaitIdle());
    QSet<QString> announced;
    for (const QList<QVariant>& signal : ready)
        announced.insert(signal.first().toString());
    for (int i = 0; i < kCount; ++i) {
        const QString path = tree / QString("p%1.jpg").arg(i);
        EXPECT_FALSE(loader.thumbnail(path).isNull()) << i;
        EXPECT_TRUE(announced.contains(path)) << i << ": its cell would never repaint";
    }
    EXPECT_LE(cache.counters().pictureDecodes, kCount + 2)
        << "cancelled requests that had not started cost nothing";
}
} // namespace
