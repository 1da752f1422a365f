#include "PopupFixture.h"

#include "FixturePictures.h"
#include "bar/BarSkin.h"
#include "support/ImageMeasures.h"
#include "thumbnails/ThumbnailSize.h"
#include "ui/IconList.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>

#include <cmath>

namespace {
// A point on each screen (see main.cpp): ratio 2 (the primary screen), 1.5 and 1 side by side.
QPoint OnScreen(double ratio) {
    return {ratio == 2.0 ? 100 : ratio == 1.5 ? 1100 : 2100, 60};
}

// The same picture the ratio-1 references were drawn from: stripes, a block and a gradient.
QImage StripedPicture() {
    QImage picture(100, 60, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 100, 60);
    gradient.setColorAt(0, Qt::red);
    gradient.setColorAt(1, Qt::blue);
    painter.fillRect(picture.rect(), gradient);
    for (int x = 0; x < 100; x += 8)
        painter.fillRect(x, 0, 3, 60, Qt::white);
    painter.fillRect(30, 20, 40, 20, Qt::black);
    return picture;
}

PopupCell Cell(NodeKind kind, bool checked = false) {
    PopupCell cell;
    cell.kind = kind;
    cell.checked = checked;
    return cell;
}

// A cell painted onto an image of `ratio`, as the view paints it on such a screen.
QImage PaintedCell(const PopupCell& cell, QSize size, const CellLook& look, double ratio = 1.0) {
    QImage image(size * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    paintCell(painter, cell, size, look);
    return image;
}

QImage PaintedScrollButton(ScrollDirection direction, bool lowered) {
    QImage image(QSize(40, 14), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    paintScrollButton(painter, image.rect(), direction, lowered, QApplication::palette());
    return image;
}

QImage PaintedBar(double ratio) {
    QWidget host;
    BarSkin skin(&host);
    skin.resize(120, 26);
    QImage image(QSize(120, 26) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::magenta);
    skin.render(&image);
    return image;
}

QImage Reference(const QString& name) {
    return QImage(QStringLiteral(JOLVEX_LOOK_FIXTURES "/") + name + ".png")
        .convertToFormat(QImage::Format_RGB32);
}

const double kRatios[] = {1.0, 1.5, 2.0};

// At ratio 1 every painted part is, pixel for pixel, what the bitmaps it replaces showed.
TEST(ScaledScreen, AtRatioOneEveryPaintedPartLooksAsBefore) {
    const QImage thumbnail = makeThumbnail(StripedPicture(), QSize(100, 60));
    const QSize row(150, 22);
    const QSize square(44, 44);
    const struct {
        const char* reference;
        QImage painted;
    } cases[] = {
        {"folder", PaintedCell(Cell(NodeKind::Folder), row, {false, {}})},
        {"folder-hot", PaintedCell(Cell(NodeKind::Folder), row, {true, {}})},
        {"snippet", PaintedCell(Cell(NodeKind::Text), row, {false, {}})},
        {"checked", PaintedCell(Cell(NodeKind::Command, true), row, {false, {}})},
        {"picture", PaintedCell(Cell(NodeKind::Image), square, {false, thumbnail})},
        {"picture-hot", PaintedCell(Cell(NodeKind::Image), square, {true, thumbnail})},
        {"scroll-up", PaintedScrollButton(ScrollDirection::Up, false)},
        {"scroll-up-lowered", PaintedScrollButton(ScrollDirection::Up, true)},
        {"scroll-down", PaintedScrollButton(ScrollDirection::Down, false)},
        {"scroll-down-lowered", PaintedScrollButton(ScrollDirection::Down, true)},
        {"bar", PaintedBar(1.0)},
    };
    for (const auto& c : cases) {
        const QImage reference = Reference(c.reference);
        ASSERT_FALSE(reference.isNull()) << c.reference;
        EXPECT_EQ(FirstDifference(c.painted, reference), "same") << c.reference;
    }
}

// The bands of the bar and the rows' gutter are painted per logical pixel: at ratio 2 each
// becomes a block of 2x2 device pixels of its own colour, nothing blended.
TEST(ScaledScreen, TheBarAndTheGutterStaySharpAtRatioTwo) {
    const QImage bar = PaintedBar(2.0);
    const QImage barReference = Reference("bar").scaled(240, 52); // nearest: blocks
    EXPECT_EQ(FirstDifference(bar, barReference), "same");

    const QImage row = PaintedCell(Cell(NodeKind::Folder), QSize(150, 22), {false, {}}, 2.0);
    const QImage gutterReference = Reference("folder").copy(QRect(0, 0, 2, 22)).scaled(4, 44);
    EXPECT_EQ(FirstDifference(DevicePart(row, QRectF(0, 0, 2, 22)), gutterReference), "same")
        << "the gutter's two columns left of the icon";
}

// The check mark and the submenu arrow are smoothed when a logical pixel is several device
// pixels, and cover the same place as at ratio 1.
TEST(ScaledScreen, DiagonalIconsAreSmoothedAtHigherRatios) {
    for (int icon : {CheckMarkIcon, 9}) {
        QImage image(QSize(32, 32), QImage::Format_RGB32);
        image.setDevicePixelRatio(2.0);
        image.fill(Qt::white);
        QPainter painter(&image);
        drawListIcon(painter, icon, QPoint(0, 0));
        painter.end();
        int dark = 0;
        int between = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const int grey = qGray(image.pixel(x, y));
                dark += grey < 40;
                between += grey >= 40 && grey < 215;
            }
        EXPECT_GT(dark, 40) << icon;
        EXPECT_GT(between, 6) << icon << ": antialiased edges";
    }
}

// A thumbnail made at the screen's ratio shows the picture as a direct high-quality reduction
// to the device size would; the 40x40 thumbnail stretched (what such screens got before) is
// visibly softer.
TEST(ScaledScreen, ThumbnailCellsMatchADirectReductionAtEveryRatio) {
    TempTree folder;
    const QImage picture = TestPattern(QSize(300, 180));
    ASSERT_TRUE(picture.save(folder / "wide.png"));
    ThumbnailCache cache;
    const QImage stretched = cache.thumbnail(folder / "wide.png", ThumbnailSide);
    for (double ratio : kRatios) {
        const int side = thumbnailSideFor(ratio);
        const QImage thumbnail = cache.thumbnail(folder / "wide.png", side);
        ASSERT_FALSE(thumbnail.isNull()) << ratio;
        EXPECT_EQ(shownThumbnailSize(thumbnail), QSize(40, 24)) << ratio;
        const QRectF where(2, 10, 40, 24); // centred in the 44x44 cell
        const QImage cell =
            PaintedCell(Cell(NodeKind::Image), QSize(44, 44), {false, thumbnail}, ratio);
        const QImage shown = DevicePart(cell, where);
        const QImage direct = SmoothlyScaled(picture, shown.size());
        const ImageDifference difference = CompareImages(shown, direct);
        EXPECT_LT(difference.mean, 1.0) << "ratio " << ratio;
        EXPECT_LE(difference.largest, 8) << "ratio " << ratio;
        if (ratio == 1.0)
            continue;
        const QImage before = DevicePart(
            PaintedCell(Cell(NodeKind::Image), QSize(44, 44), {false, stretched}, ratio), where);
        EXPECT_GT(CompareImages(before, direct).mean, 2 * difference.mean + 2) << "ratio " << ratio;
        EXPECT_GT(GradientEnergy(shown), 1.15 * GradientEnergy(before)) << "ratio " << ratio;
    }
}

class ScaledPopup : public PopupFixture {
protected:
    // A folder of pictures larger than their cells.
    LibraryNode* Pictures(int count) {
        for (int i = 0; i < count; ++i) {
            const QImage picture = TestPattern(QSize(160, 160), qRgb(40 * i, 200, 90));
            EXPECT_TRUE(picture.save(library / QString("photos/p%1.png").arg(i)));
            pictures << picture;
        }
        return Folder("photos", 0, 0);
    }
    // The first cell's thumbnail as the screen shows it, and the picture reduced directly to
    // that size.
    ImageDifference FirstCellAgainstDirect(double ratio) {
        const QImage grabbed = View().grab(View().cellRect(0)).toImage();
        EXPECT_EQ(grabbed.devicePixelRatio(), ratio);
        const QImage shown = DevicePart(grabbed, QRectF(2, 2, 40, 40));
        return CompareImages(shown, SmoothlyScaled(pictures[0], shown.size()));
    }
    QList<QImage> pictures;
};

// A popup asks for thumbnails at the ratio of the screen it shows on, and again when it moves to
// a screen of another ratio.
TEST_F(ScaledPopup, ThumbnailsFollowTheScreenThePopupIsOn) {
    library.MakeFolder("photos");
    LibraryNode* photos = Pictures(3);
    const QPoint onTwo = OnScreen(2.0);
    Open(photos, onTwo.x(), onTwo.y());
    ASSERT_EQ(menu->screen()->devicePixelRatio(), 2.0);
    ASSERT_TRUE(WaitForThumbnails());
    ImageDifference atTwo = FirstCellAgainstDirect(2.0);
    EXPECT_LT(atTwo.mean, 1.5);

    QSignalSpy ready(loader.get(), &ThumbnailLoader::ready);
    menu->move(OnScreen(1.5));
    QCoreApplication::processEvents();
    ASSERT_EQ(menu->screen()->devicePixelRatio(), 1.5);
    View().grab(); // the first paint on the new screen asks for the new thumbnails
    ASSERT_TRUE(WaitForThumbnails());
    ASSERT_EQ(ready.count(), 3);
    for (const auto& arguments : ready)
        EXPECT_EQ(arguments.at(1).value<QImage>().size(), QSize(60, 60));
    EXPECT_LT(FirstCellAgainstDirect(1.5).mean, 1.5);
    EXPECT_EQ(QDir(library / "photos").entryList(QDir::Files),
              QStringList({"p0.png", "p1.png", "p2.png"}))
        << "nothing is written beside the pictures for a high-resolution screen";
}

// The preview on a ratio-2 screen shows the picture from a decode at device size, copied pixel
// for pixel.
TEST_F(ScaledPopup, ThePreviewShowsThePictureAtDeviceResolution) {
    library.MakeFolder("photos");
    const QImage picture = TestPattern(QSize(900, 600));
    ASSERT_TRUE(picture.save(library / "photos/big.png"));
    preview->move(OnScreen(2.0));
    preview->loadPicture(library / "photos/big.png", "big.png");
    preview->placeForPicture(OnScreen(2.0));
    preview->show();
    QCoreApplication::processEvents();
    ASSERT_EQ(preview->screen()->devicePixelRatio(), 2.0);
    const PreviewPicture& shown = preview->pictureView();
    const QRect where = shown.pictureRect();
    const QImage grabbed = const_cast<PreviewPicture&>(shown).grab().toImage();
    const QImage device = DevicePart(grabbed, QRectF(where));
    EXPECT_EQ(device.size(), where.size() * 2);
    const ImageDifference difference =
        CompareImages(device, SmoothlyScaled(picture, device.size()));
    EXPECT_LT(difference.mean, 1.5);
}
} // namespace
