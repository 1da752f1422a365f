#include "thumbnails/ThumbnailCache.h"

#include "FixturePictures.h"
#include "support/TempTree.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {
// Collects what the program logs while it lives.
class LogCapture {
public:
    LogCapture() {
        lines().clear();
        previous_ = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext& context, const QString& message) {
                lines() << QString::fromUtf8(context.category) + ": " + message;
            });
    }
    ~LogCapture() { qInstallMessageHandler(previous_); }
    static QStringList& lines() {
        static QStringList captured;
        return captured;
    }

private:
    QtMessageHandler previous_;
};

// A failure the program gets over by itself leaves one line in its category; normal use none.
TEST(Logging, APictureWithoutAThumbnailLeavesOneLineAndAGoodOneNone) {
    TempTree tree;
    ASSERT_TRUE(TestPattern(QSize(64, 48)).save(tree / "good.png"));
    tree.Write("bad.png", "not a picture at all");
    ThumbnailCache cache;
    const LogCapture log;
    EXPECT_FALSE(cache.makeFile(tree / "good.png", 1000).isNull());
    EXPECT_TRUE(LogCapture::lines().isEmpty()) << LogCapture::lines().join('\n').toStdString();
    EXPECT_TRUE(cache.makeFile(tree / "bad.png", 1000).isNull());
    ASSERT_EQ(LogCapture::lines().size(), 1);
    EXPECT_TRUE(LogCapture::lines().first().startsWith("jolvex.thumbs: "));
    EXPECT_TRUE(LogCapture::lines().first().contains("bad.png"));
}
} // namespace
