#include "PopupFixture.h"

#include "FixturePictures.h"

#include <QLabel>
#include <QTest>

#include <QFontMetrics>

namespace {
using Preview = PopupFixture;

QFont PopupFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    return font;
}

TEST_F(Preview, OneLineSnippetIsItsTextPlusTheFrame) {
    const QString text = "Good morning";
    preview->showText(PopupFont(), text, QPoint(100, 100));
    const QFontMetrics metrics(PopupFont());
    const QRect needed = metrics.boundingRect(QRect(0, 0, 10000, 10000), Qt::TextWordWrap, text);
    EXPECT_EQ(preview->size(), QSize(needed.width() + 6, needed.height() + 6));
    EXPECT_EQ(preview->pos(), QPoint(100, 112));
}

TEST_F(Preview, LongSnippetsWrapAtFourNinthsAndAreCut) {
    const int maxWidth = (workAreaRect().width() / 9) * 4;
    const int maxHeight = (workAreaRect().height() / 9) * 4;
    QString words;
    for (int i = 0; i < 2000; ++i)
        words += "word ";
    preview->showText(PopupFont(), words, QPoint(0, 0));
    EXPECT_LE(preview->width(), maxWidth + 6);
    EXPECT_GT(preview->width(), maxWidth + 6 - 60);
    EXPECT_EQ(preview->height(), maxHeight + 6);
    // A single word wider than the limit is cut at the right.
    preview->showText(PopupFont(), QString(3000, 'x'), QPoint(0, 0));
    EXPECT_EQ(preview->width(), maxWidth + 6);
    EXPECT_GT(preview->textRect(maxWidth, maxHeight, QString(3000, 'x')).width(), maxWidth);
}

TEST_F(Preview, TextPlacementNearTheEdges) {
    const int wa = workAreaRect().width();
    const int ha = workAreaRect().height();
    preview->showText(PopupFont(), "edge", QPoint(wa - 5, ha - 5));
    EXPECT_EQ(preview->x() + preview->width(), wa - 5) << "ends at the cursor column";
    EXPECT_EQ(preview->y(), ha - 5 - 34 - preview->height()) << "above the entry";
    const int width = preview->width();
    preview->showText(PopupFont(), "edge", QPoint(wa - width, 10));
    EXPECT_EQ(preview->x(), wa - width) << "ending exactly on the edge is accepted";
}

TEST_F(Preview, PicturesGetASquareAreaOf192To256) {
    library.Write("small.png");
    ASSERT_TRUE(TestPattern(QSize(100, 50)).save(library / "small.png"));
    ASSERT_TRUE(TestPattern(QSize(300, 200)).save(library / "large.png"));
    LibraryNode small("small.png", library / "small.png", NodeKind::Image);
    LibraryNode large("large.png", library / "large.png", NodeKind::Image);

    preview->loadPicture(small.path(), small.caption());
    preview->placeForPicture(QPoint(50, 50));
    EXPECT_EQ(preview->size(), QSize(198, 214));
    EXPECT_EQ(preview->pictureView().pictureRect().size(), QSize(100, 50)) << "not enlarged";
    EXPECT_EQ(preview->pictureView().size(), QSize(192, 192));
    EXPECT_EQ(preview->sizeText(), "100*50");
    EXPECT_EQ(preview->nameText(), "small.png");
    EXPECT_EQ(preview->sizeGeometry().right(), preview->stripWidth() - 1);
    EXPECT_EQ(preview->pos(), QPoint(50, 62));

    preview->loadPicture(large.path(), large.caption());
    preview->placeForPicture(QPoint(50, 50));
    EXPECT_EQ(preview->size(), QSize(262, 278));
    EXPECT_EQ(preview->pictureView().pictureRect().size(), QSize(256, 170));
    EXPECT_EQ(preview->sizeText(), "300*200");
}

TEST_F(Preview, ImagePlacementMovesAwayFromTheEdgesEvenWhenItWouldJustFit) {
    ASSERT_TRUE(TestPattern(QSize(100, 50)).save(library / "small.png"));
    LibraryNode small("small.png", library / "small.png", NodeKind::Image);
    preview->loadPicture(small.path(), small.caption());
    const int wa = workAreaRect().width();
    const int ha = workAreaRect().height();
    preview->placeForPicture(QPoint(wa - 198, ha - 12 - 214));
    EXPECT_EQ(preview->x(), wa - 198 - 198);
    EXPECT_EQ(preview->y(), ha - 12 - 214 - 56 - 214);
}

TEST_F(Preview, AGifAnimatesUntilThePreviewHides) {
    ASSERT_TRUE(WriteGif(library / "anim.gif", MovingSquareGif(QSize(60, 40), 4)));
    LibraryNode gif("anim.gif", library / "anim.gif", NodeKind::Image);
    preview->loadPicture(gif.path(), gif.caption());
    preview->placeForPicture(QPoint(10, 10));
    preview->show();
    EXPECT_TRUE(preview->pictureView().isAnimating());
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return preview->pictureView().currentFrame() > 0; }, 2000));
    preview->hide();
    EXPECT_FALSE(preview->pictureView().isAnimating());
    EXPECT_FALSE(preview->pictureView().hasPicture());
}

TEST_F(Preview, AnUnreadablePictureRaisesAndKeepsTheOldName) {
    ASSERT_TRUE(TestPattern(QSize(100, 50)).save(library / "good.png"));
    LibraryNode good("good.png", library / "good.png", NodeKind::Image);
    preview->loadPicture(good.path(), good.caption());
    library.Write("bad.png", "broken");
    LibraryNode bad("bad.png", library / "bad.png", NodeKind::Image);
    EXPECT_ANY_THROW(preview->loadPicture(bad.path(), bad.caption()));
    EXPECT_FALSE(preview->pictureView().hasPicture());
    EXPECT_EQ(preview->nameText(), "good.png");
}

TEST_F(Preview, APictureIsDecodedAwayFromTheInterfaceAndOnlyTheNewestRequestShows) {
    ASSERT_TRUE(TestPattern(QSize(300, 200)).save(library / "first.png"));
    ASSERT_TRUE(TestPattern(QSize(100, 50)).save(library / "second.png"));
    preview->requestPicture(library / "first.png", "first.png", QPoint(40, 40));
    preview->requestPicture(library / "second.png", "second.png", QPoint(60, 60));
    preview->waitForPicture();
    ASSERT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->nameText(), "second.png");
    EXPECT_EQ(preview->sizeText(), "100*50");
    EXPECT_EQ(preview->pos(), QPoint(60, 72));
    // The newer request replaced the older: nothing else arrives.
    QCoreApplication::processEvents();
    EXPECT_EQ(preview->nameText(), "second.png");

    // Hiding the preview drops a request that has not shown yet.
    preview->hide();
    preview->requestPicture(library / "first.png", "first.png", QPoint(40, 40));
    preview->hide();
    preview->waitForPicture();
    QCoreApplication::processEvents();
    EXPECT_FALSE(preview->isVisible());
}

TEST_F(Preview, AHugePictureIsShownAtItsOwnSizeFromAReducedDecode) {
    ASSERT_TRUE(WriteJpeg(library / "poster.jpg", TestPattern(QSize(4000, 3000))));
    LibraryNode poster("poster.jpg", library / "poster.jpg", NodeKind::Image);
    preview->loadPicture(poster.path(), poster.caption());
    preview->placeForPicture(QPoint(50, 50));
    EXPECT_EQ(preview->sizeText(), "4000*3000");
    EXPECT_EQ(preview->pictureView().pictureRect().size(), QSize(256, 192));
}
} // namespace
