#include "delivery/ThumbnailLoader.h"

#include "FixturePictures.h"
#include "delivery/ThumbnailCache.h"
#include "platform/FileSystem.h"
#include "support/TempTree.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {
class ThumbnailLoading : public ::testing::Test {
protected:
    void SetUp() override {
        ClearThumbnailMemory();
        ResetThumbnailWork();
    }
    void TearDown() override {
        loader.WaitForIdle();
        QTest::qWait(20);
    }
    bool WaitIdle() {
        return QTest::qWaitFor([&] { return !loader.Busy(); }, 10000);
    }
    ThumbnailLoader& loader = ThumbnailLoader::Instance();
    TempTree tree;
};

TEST_F(ThumbnailLoading, AMissingThumbnailIsMadeInTheBackgroundThenServedAtOnce) {
    ASSERT_TRUE(WriteJpeg(tree / "photo.jpg", TestPattern(QSize(800, 600))));
    QSignalSpy ready(&loader, &ThumbnailLoader::Ready);
    EXPECT_TRUE(loader.Thumbnail(tree / "photo.jpg").isNull());
    EXPECT_TRUE(loader.Busy());
    EXPECT_TRUE(loader.Thumbnail(tree / "photo.jpg").isNull()) << "asked twice, made once";
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(ready.count(), 1);
    EXPECT_EQ(ready.first().first().toString(), tree / "photo.jpg");
    EXPECT_EQ(ThumbnailWork().pictureDecodes, 1);
    EXPECT_EQ(loader.Thumbnail(tree / "photo.jpg").size(), QSize(40, 30));
    EXPECT_EQ(GetFileWriteTime(tree / "photo.jpg.thb"), GetFileWriteTime(tree / "photo.jpg"));
    EXPECT_EQ(ThumbnailWork().pictureDecodes, 1);
}

TEST_F(ThumbnailLoading, AFailedPictureIsNotTriedAgainUntilItChanges) {
    tree.Write("bad.png", "not a png");
    QSignalSpy ready(&loader, &ThumbnailLoader::Ready);
    EXPECT_TRUE(loader.Thumbnail(tree / "bad.png").isNull());
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(ready.count(), 1);
    for (int paint = 0; paint < 5; ++paint)
        EXPECT_TRUE(loader.Thumbnail(tree / "bad.png").isNull());
    EXPECT_FALSE(loader.Busy());
    EXPECT_EQ(ThumbnailWork().pictureDecodes, 1);

    ASSERT_TRUE(TestPattern(QSize(60, 60)).save(tree / "bad.png", "PNG"));
    ASSERT_TRUE(
        SetFileWriteTime(tree / "bad.png", *GetFileWriteTime(tree / "bad.png") + 10'000'000));
    EXPECT_TRUE(loader.Thumbnail(tree / "bad.png").isNull());
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(loader.Thumbnail(tree / "bad.png").size(), QSize(40, 40));
}

TEST_F(ThumbnailLoading, CancelledRequestsAreDroppedBeforeTheyStart) {
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(WriteJpeg(tree / QString("p%1.jpg").arg(i), TestPattern(QSize(1600, 1200))));
    for (int i = 0; i < 12; ++i)
        loader.Thumbnail(tree / QString("p%1.jpg").arg(i));
    loader.CancelPending();
    ASSERT_TRUE(WaitIdle());
    EXPECT_LT(ThumbnailWork().pictureDecodes, 12);
    // Asked again, the dropped ones are made.
    for (int i = 0; i < 12; ++i)
        loader.Thumbnail(tree / QString("p%1.jpg").arg(i));
    ASSERT_TRUE(WaitIdle());
    for (int i = 0; i < 12; ++i)
        EXPECT_FALSE(loader.Thumbnail(tree / QString("p%1.jpg").arg(i)).isNull()) << i;
}
} // namespace
