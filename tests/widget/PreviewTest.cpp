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
    FmHint->ShowText(PopupFont(), text, QPoint(100, 100));
    const QFontMetrics metrics(PopupFont());
    const QRect needed = metrics.boundingRect(QRect(0, 0, 10000, 10000), Qt::TextWordWrap, text);
    EXPECT_EQ(FmHint->size(), QSize(needed.width() + 6, needed.height() + 6));
    EXPECT_EQ(FmHint->pos(), QPoint(100, 112));
}

TEST_F(Preview, LongSnippetsWrapAtFourNinthsAndAreCut) {
    const int maxWidth = (WorkAreaWidth() / 9) * 4;
    const int maxHeight = (WorkAreaHeight() / 9) * 4;
    QString words;
    for (int i = 0; i < 2000; ++i)
        words += "word ";
    FmHint->ShowText(PopupFont(), words, QPoint(0, 0));
    EXPECT_LE(FmHint->width(), maxWidth + 6);
    EXPECT_GT(FmHint->width(), maxWidth + 6 - 60);
    EXPECT_EQ(FmHint->height(), maxHeight + 6);
    // A single word wider than the limit is cut at the right.
    FmHint->ShowText(PopupFont(), QString(3000, 'x'), QPoint(0, 0));
    EXPECT_EQ(FmHint->width(), maxWidth + 6);
    EXPECT_GT(FmHint->CalcHintRect(maxWidth, maxHeight, QString(3000, 'x')).width(), maxWidth);
}

TEST_F(Preview, TextPlacementNearTheEdges) {
    const int wa = WorkAreaWidth();
    const int ha = WorkAreaHeight();
    FmHint->ShowText(PopupFont(), "edge", QPoint(wa - 5, ha - 5));
    EXPECT_EQ(FmHint->x() + FmHint->width(), wa - 5) << "ends at the cursor column";
    EXPECT_EQ(FmHint->y(), ha - 5 - 34 - FmHint->height()) << "above the entry";
    const int width = FmHint->width();
    FmHint->ShowText(PopupFont(), "edge", QPoint(wa - width, 10));
    EXPECT_EQ(FmHint->x(), wa - width) << "ending exactly on the edge is accepted";
}

TEST_F(Preview, PicturesGetASquareAreaOf192To256) {
    library.Write("small.png");
    ASSERT_TRUE(TestPattern(QSize(100, 50)).save(library / "small.png"));
    ASSERT_TRUE(TestPattern(QSize(300, 200)).save(library / "large.png"));
    TMenuItem small("small.png", library / "small.png", ikImage);
    TMenuItem large("large.png", library / "large.png", ikImage);

    FmHint->GetHintImage(&small);
    FmHint->SetImage(QPoint(50, 50));
    EXPECT_EQ(FmHint->size(), QSize(198, 214));
    EXPECT_EQ(FmHint->Image1->PictureRect().size(), QSize(100, 50)) << "not enlarged";
    EXPECT_EQ(FmHint->Image1->size(), QSize(192, 192));
    EXPECT_EQ(FmHint->LabelImgHint->text(), "100*50");
    EXPECT_EQ(FmHint->LabelName->text(), "small.png");
    EXPECT_EQ(FmHint->LabelImgHint->geometry().right(), FmHint->PanelImgHint->width() - 1);
    EXPECT_EQ(FmHint->pos(), QPoint(50, 62));

    FmHint->GetHintImage(&large);
    FmHint->SetImage(QPoint(50, 50));
    EXPECT_EQ(FmHint->size(), QSize(262, 278));
    EXPECT_EQ(FmHint->Image1->PictureRect().size(), QSize(256, 170));
    EXPECT_EQ(FmHint->LabelImgHint->text(), "300*200");
}

TEST_F(Preview, ImagePlacementMovesAwayFromTheEdgesEvenWhenItWouldJustFit) {
    ASSERT_TRUE(TestPattern(QSize(100, 50)).save(library / "small.png"));
    TMenuItem small("small.png", library / "small.png", ikImage);
    FmHint->GetHintImage(&small);
    const int wa = WorkAreaWidth();
    const int ha = WorkAreaHeight();
    FmHint->SetImage(QPoint(wa - 198, ha - 12 - 214));
    EXPECT_EQ(FmHint->x(), wa - 198 - 198);
    EXPECT_EQ(FmHint->y(), ha - 12 - 214 - 56 - 214);
}

TEST_F(Preview, AGifAnimatesUntilThePreviewHides) {
    ASSERT_TRUE(WriteGif(library / "anim.gif", MovingSquareGif(QSize(60, 40), 4)));
    TMenuItem gif("anim.gif", library / "anim.gif", ikImage);
    FmHint->GetHintImage(&gif);
    FmHint->SetImage(QPoint(10, 10));
    FmHint->show();
    EXPECT_TRUE(FmHint->Image1->Animating());
    EXPECT_TRUE(QTest::qWaitFor([] { return FmHint->Image1->CurrentFrame() > 0; }, 2000));
    FmHint->hide();
    EXPECT_FALSE(FmHint->Image1->Animating());
    EXPECT_FALSE(FmHint->Image1->HasPicture());
}

TEST_F(Preview, AnUnreadablePictureRaisesAndKeepsTheOldName) {
    ASSERT_TRUE(TestPattern(QSize(100, 50)).save(library / "good.png"));
    TMenuItem good("good.png", library / "good.png", ikImage);
    FmHint->GetHintImage(&good);
    library.Write("bad.png", "broken");
    TMenuItem bad("bad.png", library / "bad.png", ikImage);
    EXPECT_ANY_THROW(FmHint->GetHintImage(&bad));
    EXPECT_FALSE(FmHint->Image1->HasPicture());
    EXPECT_EQ(FmHint->LabelName->text(), "good.png");
}
} // namespace
