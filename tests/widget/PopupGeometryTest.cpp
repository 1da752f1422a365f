#include "PopupFixture.h"

#include <QFontMetrics>

namespace {
using PopupGeometry = PopupFixture;

TEST_F(PopupGeometry, WidthFollowsTheWidestRowBetween92And444) {
    QFont popupFont(QStringLiteral("Tahoma"));
    popupFont.setPixelSize(11);
    const QFontMetrics metrics(popupFont);
    library.Write("long/" + QString(60, 'W') + ".txt");
    library.Write("medium/abcdefghijklmnop.txt");
    const struct {
        const char* folder;
        int texts, pictures;
        int width;
    } cases[] = {
        {"empty", 0, 0, 92},  {"two", 0, 2, 92},   {"three", 0, 3, 4 + 3 * 44},
        {"many", 0, 25, 444}, {"short", 1, 0, 92},
    };
    for (const auto& c : cases) {
        Open(Folder(c.folder, c.texts, c.pictures), 10, 30);
        EXPECT_EQ(menu->width(), c.width) << c.folder;
    }
    Open(Folder("medium", 0, 0), 10, 30);
    EXPECT_EQ(menu->width(), std::max(92, metrics.horizontalAdvance("abcdefghijklmnop") + 54));
    Open(Folder("long", 0, 0), 10, 30);
    EXPECT_EQ(menu->width(), 444);
}

TEST_F(PopupGeometry, RowsOfTextAndThumbnails) {
    Open(Folder("texts", 5, 0), 10, 30);
    EXPECT_EQ(menu->height(), 22 * 5 + 4);
    EXPECT_EQ(CellRects().first(), QRect(1, 1, 88, 22));
    EXPECT_EQ(CellRects().last(), QRect(1, 89, 88, 22));

    Open(Folder("two", 0, 2), 10, 30);
    EXPECT_EQ(menu->width(), 92);
    EXPECT_EQ(CellRects(), (QList<QRect>{QRect(1, 1, 44, 44), QRect(45, 1, 44, 44)}));

    Open(Folder("many", 0, 25), 10, 30);
    EXPECT_EQ(menu->width(), 444);
    EXPECT_EQ(menu->height(), 136);
    const QList<QRect> rects = CellRects();
    EXPECT_EQ(rects[9], QRect(397, 1, 44, 44));
    EXPECT_EQ(rects[10], QRect(1, 45, 44, 44));
    EXPECT_EQ(rects[24], QRect(177, 89, 44, 44));

    // A picture after a snippet starts its own row at x 1.
    Open(Folder("mixed", 1, 2), 10, 30);
    EXPECT_EQ(CellRects()[1], QRect(1, 23, 44, 44));
    EXPECT_EQ(CellRects()[2], QRect(45, 23, 44, 44));
    EXPECT_EQ(menu->height(), 22 + 44 + 4);
}

TEST_F(PopupGeometry, TheSystemPopupShowsItsTwelveEntries) {
    Open(systemNode(), 10, 30);
    ASSERT_EQ(View().cellCount(), 12);
    EXPECT_EQ(menu->height(), 9 * 22 + 3 * 5 + 4);
    EXPECT_EQ(View().cell(2).caption, QString::fromUtf8("开机时启动"));
    EXPECT_EQ(View().cellRect(3).height(), 5);
    EXPECT_EQ(View().cell(6).caption, QString::fromUtf8("清除最近使用"));
    EXPECT_EQ(View().cell(11).caption, QString::fromUtf8("退出"));
    EXPECT_EQ(cellFont(View().cell(11)).family(), barFont().family());
}

TEST_F(PopupGeometry, EmptyFolderShowsThePlaceholder) {
    Open(Folder("empty", 0, 0), 10, 30);
    ASSERT_EQ(View().cellCount(), 1);
    const PopupCell& placeholder = View().cell(0);
    EXPECT_TRUE(placeholder.placeholder);
    EXPECT_EQ(placeholder.caption, QString::fromUtf8("空"));
    EXPECT_TRUE(placeholder.path.isEmpty());
    EXPECT_EQ(menu->size(), QSize(92, 26));
    EXPECT_TRUE(View().scrollButtonRect(ScrollDirection::Down).isEmpty());
    EXPECT_TRUE(View().scrollButtonRect(ScrollDirection::Up).isEmpty());
}

TEST_F(PopupGeometry, EntriesBelowTheAvailableHeightAreHiddenBehindTheBottomButton) {
    LibraryNode* node = Folder("long", 40, 0);
    const int top = screenRect().height() - 200; // available: 197 pixels
    Open(node, 10, top);
    int visible = 0;
    for (int i = 0; i < View().cellCount(); ++i)
        visible += View().isCellInView(i) ? 1 : 0;
    EXPECT_EQ(visible, 8); // bottoms 23 ... 177 fit below 197
    EXPECT_EQ(View().cellCount(), 40);
    EXPECT_EQ(menu->height(), 177 + 3);
    EXPECT_EQ(menu->y(), top);
    EXPECT_EQ(View().scrollButtonRect(ScrollDirection::Down),
              QRect((menu->width() - 28) / 2, 180 - 18, 28, 14));
    EXPECT_TRUE(View().scrollButtonRect(ScrollDirection::Up).isEmpty());
    EXPECT_EQ(View().cellAt(View().cellRect(8).center()), -1) << "a cell out of view takes nothing";

    Open(node, 10, screenRect().height() - 25); // available 22: not even the first row fits
    EXPECT_EQ(menu->height(), 3);
}

TEST_F(PopupGeometry, HorizontalPlacementAtTheRightEdge) {
    LibraryNode* node = Folder("two", 0, 2); // 92 wide
    const int screen = screenRect().width();
    Open(node, screen - 92 - 1, 30, 0);
    EXPECT_EQ(menu->x(), screen - 93) << "fits: stays where asked";
    Open(node, screen - 50, 30, screen - 20);
    EXPECT_EQ(menu->x(), screen - 20 - 92) << "right-aligned with the label's right edge";
    Open(node, screen - 50, 30, 60);
    EXPECT_EQ(menu->x(), screen - 92) << "narrower label: flush with the screen edge";
}

TEST_F(PopupGeometry, LongSubmenuIsPushedUp) {
    LibraryNode* top = Folder("top", 0, 0, 1);
    for (int i = 0; i < 10; ++i)
        library.Write(QString("top/d000/t%1.txt").arg(i));
    Open(top, 10, 30);
    FolderPopup sub(*context, menu.get());
    sub.setNode(top->child(0));
    sub.fill(100, screenRect().height() - 100);
    EXPECT_EQ(sub.height(), 22 * 10 + 4);
    EXPECT_EQ(sub.y(), screenRect().height() - sub.height());
}

TEST_F(PopupGeometry, SubmenuPlacementAndFlips) {
    const struct {
        int parentLeft, parentWidth, subWidth;
        bool atRight;
        int left;
        bool nextAtRight;
    } cases[] = {
        {100, 200, 150, true, 298, true},    // overlaps the right edge by 2
        {1000, 200, 150, true, 852, false},  // 1198 + 150 >= 1280: flips left
        {50, 1200, 150, true, 0, false},     // flipped, but never left of 0
        {500, 200, 150, false, 352, false},  // overlaps the left edge by 2
        {100, 200, 150, false, 298, true},   // -48: flips right
        {100, 1100, 150, false, 1130, true}, // flipped right but too wide: flush with the edge
    };
    for (const auto& c : cases) {
        bool atRight = c.atRight;
        EXPECT_EQ(FolderPopup::submenuLeft(c.parentLeft, c.parentWidth, c.subWidth,
                                           QRect(0, 0, 1280, 800), atRight),
                  c.left)
            << c.parentLeft << "," << c.parentWidth << "," << c.atRight;
        EXPECT_EQ(atRight, c.nextAtRight);
    }
}

TEST_F(PopupGeometry, ScrollingMovesByTheHiddenEntrysHeight) {
    // A separator in the System popup, thumbnails and snippets elsewhere.
    LibraryNode* node = Folder("scroll", 12, 30); // 12 rows of 22, then 3 rows of thumbnails
    Open(node, 10, screenRect().height() - 150);  // available 147
    menu->show();
    const int firstTop = View().cellRect(0).y();
    const QRect down = View().scrollButtonRect(ScrollDirection::Down);
    ASSERT_FALSE(down.isEmpty());

    MovePointer(down.center());
    EXPECT_EQ(View().scrollTimer().interval(), 150);
    View().scrollStep();
    EXPECT_EQ(View().scrollTimer().interval(), 80);
    EXPECT_EQ(View().cellRect(0).y(), firstTop - 22);
    EXPECT_FALSE(View().scrollButtonRect(ScrollDirection::Up).isEmpty())
        << "the top button shows with the first step";
    EXPECT_FALSE(View().isCellInView(0));

    // Scroll down until the thumbnails come in: the steps become 44.
    QList<int> steps;
    for (int tick = 0; tick < 40 && View().scrollTimer().isActive(); ++tick) {
        const int before = View().cellRect(0).y();
        View().scrollStep();
        steps << before - View().cellRect(0).y();
    }
    EXPECT_FALSE(View().scrollTimer().isActive()) << "stops when the last cell is visible";
    EXPECT_TRUE(View().isCellInView(View().cellCount() - 1));
    EXPECT_TRUE(View().scrollButtonRect(ScrollDirection::Down).isEmpty());
    EXPECT_EQ(View().scrolling(), ScrollDirection::None) << "the button left the pointer";
    EXPECT_TRUE(steps.contains(22));
    EXPECT_TRUE(steps.contains(44));
    for (int step : steps)
        EXPECT_TRUE(step == 22 || step == 44) << step;

    // And back up to the top.
    MovePointer(View().scrollButtonRect(ScrollDirection::Up).center());
    EXPECT_EQ(View().scrolling(), ScrollDirection::Up);
    for (int tick = 0; tick < 40 && View().scrollTimer().isActive(); ++tick)
        View().scrollStep();
    EXPECT_EQ(View().cellRect(0).y(), firstTop);
    EXPECT_TRUE(View().scrollButtonRect(ScrollDirection::Up).isEmpty());
    EXPECT_FALSE(View().scrollButtonRect(ScrollDirection::Down).isEmpty());
}

TEST_F(PopupGeometry, SeparatorsScrollByFivePixels) {
    Open(systemNode(), 10, screenRect().height() - 73); // available 70: rows to 67 fit
    menu->show();
    const QRect down = View().scrollButtonRect(ScrollDirection::Down);
    ASSERT_FALSE(down.isEmpty());
    MovePointer(down.center());
    const int before = View().cellRect(0).y();
    View().scrollStep(); // the first hidden cell is the separator at index 3
    EXPECT_EQ(before - View().cellRect(0).y(), 5);
}

// Thumbnails are asked for as their cells come into view; every cell in view stands where the
// full layout puts it, moved by the scrolling.
TEST_F(PopupGeometry, ThumbnailsAreAskedForAsTheirCellsComeIntoView) {
    LibraryNode* node = Folder("crowd", 0, 300); // rows of thumbnails far below the screen
    QStringList asked;
    QObject::connect(loader.get(), &ThumbnailLoader::ready,
                     [&](const QString& path, const QImage&) { asked << path; });
    Open(node, 10, screenRect().height() - 200);
    menu->show();
    ASSERT_EQ(View().cellCount(), 300);
    int perRow = 0;
    while (View().cellRect(perRow).y() == View().cellRect(0).y())
        ++perRow;
    ASSERT_GT(perRow, 1);
    ASSERT_FALSE(View().isCellInView(299));
    ASSERT_TRUE(WaitForThumbnails());
    int inView = 0;
    while (View().isCellInView(inView))
        ++inView;
    EXPECT_EQ(asked.size(), inView) << "only the cells in view";
    EXPECT_FALSE(asked.contains(library / "crowd/p299.gif"));
    const QPoint firstCell = View().cellRect(0).topLeft();

    MovePointer(View().scrollButtonRect(ScrollDirection::Down).center());
    int ticks = 0;
    for (; ticks < 200 && View().scrollTimer().isActive(); ++ticks)
        View().scrollStep();
    EXPECT_FALSE(View().scrollTimer().isActive()) << "the end was reached";
    EXPECT_TRUE(View().isCellInView(299));
    ASSERT_TRUE(WaitForThumbnails());
    EXPECT_TRUE(asked.contains(library / "crowd/p299.gif"));
    const int scrolled = View().cellRect(0).y() - firstCell.y();
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(View().cellRect(i).topLeft(),
                  firstCell + QPoint((i % perRow) * 44, (i / perRow) * 44 + scrolled))
            << i;
}
} // namespace
