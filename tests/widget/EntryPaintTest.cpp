#include "PopupFixture.h"

#include "FixturePictures.h"
#include "platform/FileSystem.h"

namespace {
using EntryPaint = PopupFixture;

QColor At(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

QImage Solid(QSize size, Qt::GlobalColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST_F(EntryPaint, RowsShowGutterIconCaptionAndHotFrame) {
    Open(Folder("top", 1, 0, 1), 10, 30); // a folder, then a snippet
    QImage normal = CellImage(0);
    EXPECT_EQ(At(normal, 0, 10), QColor(Qt::white)) << "the gutter starts white";
    EXPECT_EQ(At(normal, 20, 10), QColor(170, 212, 255)) << "and turns light blue";
    EXPECT_EQ(At(normal, normal.width() - 10, 20), MenuBackColor);
    // The arrow sits 16 pixels from the right edge: something dark there.
    bool arrow = false;
    for (int x = normal.width() - 16; x < normal.width(); ++x)
        for (int y = 3; y < 19; ++y)
            arrow |= At(normal, x, y).lightness() < 60;
    EXPECT_TRUE(arrow);

    MoveToCell(0);
    const QImage hot = CellImage(0);
    EXPECT_EQ(At(hot, 0, 10), ItemHotPenColor);
    EXPECT_EQ(At(hot, hot.width() - 1, 0), ItemHotPenColor);
    EXPECT_EQ(At(hot, 20, 20), ItemHotBrushColor) << "no gutter when hot";
}

TEST_F(EntryPaint, SeparatorLineAtY2FromX26) {
    Open(systemNode(), 10, 30);
    const QImage image = CellImage(3);
    ASSERT_EQ(image.height(), 5);
    EXPECT_EQ(At(image, 26, 2), ItemPenColor);
    EXPECT_EQ(At(image, image.width() - 2, 2), ItemPenColor);
    EXPECT_NE(At(image, image.width() - 1, 2), ItemPenColor) << "end point not drawn";
    EXPECT_NE(At(image, 30, 1), ItemPenColor);
}

TEST_F(EntryPaint, ThumbnailCellsCentreThePicture) {
    library.MakeFolder("cells");
    ASSERT_TRUE(Solid(QSize(100, 50), Qt::red).save(library / "cells/a.png"));
    library.Write("cells/b.png", "not a picture");
    Open(Folder("cells", 0, 0), 10, 30);
    ASSERT_EQ(View().cellCount(), 2);
    ASSERT_TRUE(WaitForThumbnails()); // asked for as the cells came into view
    const QImage cell = CellImage(0);
    EXPECT_EQ(At(cell, 1, 1), ItemPenColor) << "frame inset by one";
    EXPECT_EQ(At(cell, 0, 0), MenuBackColor);
    EXPECT_EQ(At(cell, 2, 12), QColor(Qt::red)) << "40x20 at (2, 12)";
    EXPECT_EQ(At(cell, 41, 31), QColor(Qt::red));
    EXPECT_EQ(At(cell, 2, 11), MenuBackColor);
    EXPECT_EQ(At(cell, 2, 32), MenuBackColor);

    const QImage empty = CellImage(1);
    EXPECT_EQ(At(empty, 1, 1), ItemPenColor);
    EXPECT_EQ(At(empty, 22, 22), MenuBackColor) << "no thumbnail: frame and fill";

    MoveToCell(0);
    const QImage hot = CellImage(0);
    EXPECT_EQ(At(hot, 1, 1), ItemHotPenColor);
    EXPECT_EQ(At(hot, 0, 0), MenuBackColor) << "the outer ring keeps the background";
    EXPECT_EQ(At(hot, 20, 5), ItemHotBrushColor);
}

// A cell paints from what it was given: painting reads neither the picture nor its `.thb`,
// so one gone from disk meanwhile still paints (the next opening shows the change).
TEST_F(EntryPaint, PaintingReadsNoFile) {
    library.MakeFolder("cells");
    ASSERT_TRUE(Solid(QSize(40, 40), Qt::green).save(library / "cells/a.png"));
    Open(Folder("cells", 0, 0), 10, 30);
    ASSERT_TRUE(WaitForThumbnails());
    ASSERT_EQ(At(CellImage(0), 22, 22), QColor(Qt::green));
    ASSERT_TRUE(QFile::remove(library / "cells/a.png"));
    ASSERT_TRUE(QFile::remove(library / "cells/a.png.thb"));
    thumbnailCache.clearMemory();
    EXPECT_EQ(At(CellImage(0), 22, 22), QColor(Qt::green));
}

// Two pictures of one name and one file time trade folders by dropping: each cell then shows
// its own picture, from disk and from memory alike.
TEST_F(EntryPaint, PicturesThatTradeFoldersShowTheirOwnThumbnails) {
    library.MakeFolder("pictures");
    library.MakeFolder("words");
    ASSERT_TRUE(Solid(QSize(40, 40), Qt::red).save(library / "pictures/x.png"));
    ASSERT_TRUE(Solid(QSize(40, 40), Qt::blue).save(library / "words/x.png"));
    library.Write("words/a.txt", "a");
    ASSERT_TRUE(
        setFileWriteTime(library / "words/x.png", *fileWriteTime(library / "pictures/x.png")));
    loadTopFolders(root()); // once: a reload frees the nodes of the last one
    LibraryNode* pictures = root()->child(1);
    LibraryNode* words = root()->child(2);
    ASSERT_EQ(pictures->caption(), "pictures");
    ASSERT_EQ(words->caption(), "words");
    auto shownColour = [&](LibraryNode* folder, int index) {
        Open(folder, 10, 30);
        menu->show();
        EXPECT_TRUE(WaitForThumbnails());
        return At(CellImage(index), 22, 22);
    };
    ASSERT_EQ(shownColour(pictures, 0), QColor(Qt::red));
    ASSERT_EQ(shownColour(words, 1), QColor(Qt::blue));

    Open(words, 10, 30); // the red picture dropped on the snippet: "x (2).png"
    menu->show();
    actions->drop(menu.get(), library / "pictures/x.png", 0);
    Open(pictures, 10, 30); // the blue one dropped on the placeholder of the emptied folder
    menu->show();
    actions->drop(menu.get(), library / "words/x.png", -1);

    EXPECT_EQ(shownColour(pictures, 0), QColor(Qt::blue));
    EXPECT_EQ(shownColour(words, 0), QColor(Qt::red)) << "x (2).png, before the snippet";
    EXPECT_EQ(View().cell(0).caption, "x (2).png");
    EXPECT_EQ(library.Names("pictures"), (QStringList{"Order.ini", "x.png", "x.png.thb"}));
}

TEST_F(EntryPaint, LongCaptionsAreDrawnUpToTheRightEdgeOfTheWidestPopup) {
    library.Write("caps/" + QString(80, 'M') + ".txt");
    Open(Folder("caps", 0, 0), 10, 30);
    EXPECT_EQ(menu->width(), 444);
    const QImage row = CellImage(0);
    auto inkIn = [&](int from, int to) {
        for (int x = from; x < to; ++x)
            for (int y = 4; y < 18; ++y)
                if (row.pixelColor(x, y).lightness() < 100)
                    return true;
        return false;
    };
    EXPECT_TRUE(inkIn(26, 40)) << "the caption starts at x 26";
    EXPECT_FALSE(inkIn(19, 26)) << "nothing between the icon and the caption";
    EXPECT_TRUE(inkIn(row.width() - 30, row.width() - 1)) << "and runs to the right edge";
}
} // namespace
