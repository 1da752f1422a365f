#include "PopupFixture.h"

namespace {
// Every placement against the primary screen's own edges, wherever that screen starts.
class OffsetScreen : public PopupFixture {
protected:
    void SetUp() override {
        PopupFixture::SetUp();
        ASSERT_EQ(screenRect(), QRect(1000, 300, 1024, 768)) << "the primary screen";
    }
    static constexpr int kRight = 2024;  // just right of the primary screen
    static constexpr int kBottom = 1068; // just below it
};

TEST_F(OffsetScreen, PopupsClampAgainstThePrimaryScreensEdges) {
    LibraryNode* two = Folder("two", 0, 2); // 92 wide
    Open(two, kRight - 50, 400, kRight - 20);
    EXPECT_EQ(menu->x(), kRight - 20 - 92) << "right-aligned with the label";
    Open(two, kRight - 50, 400, 1050);
    EXPECT_EQ(menu->x(), kRight - 92) << "the label's edge would put it left of the screen";

    LibraryNode* tall = Folder("tall", 40, 0);
    Open(tall, 1100, kBottom - 200); // available: 197 pixels
    EXPECT_EQ(menu->height(), 177 + 3);
    EXPECT_EQ(menu->y(), kBottom - 200);
}

TEST_F(OffsetScreen, SubmenusFlipAtThePrimaryScreensEdges) {
    const QRect screen = screenRect();
    const struct {
        int parentLeft, parentWidth, subWidth;
        bool atRight;
        int left;
        bool nextAtRight;
    } cases[] = {
        {1010, 200, 150, false, 1208, true},  // 862 is left of the screen: flips right
        {1800, 200, 150, true, 1652, false},  // 1998 + 150 passes the right edge: flips left
        {1020, 1000, 150, true, 1000, false}, // flipped, but never left of the screen
        {1500, 200, 150, false, 1352, false},
    };
    for (const auto& c : cases) {
        bool atRight = c.atRight;
        EXPECT_EQ(
            FolderPopup::submenuLeft(c.parentLeft, c.parentWidth, c.subWidth, screen, atRight),
            c.left)
            << c.parentLeft;
        EXPECT_EQ(atRight, c.nextAtRight) << c.parentLeft;
    }
}

TEST_F(OffsetScreen, ThePreviewFlipsAtTheWorkAreasEdges) {
    preview->showText(menu->font(), "edge", QPoint(kRight - 5, kBottom - 5));
    EXPECT_EQ(preview->x() + preview->width(), kRight - 5) << "ends at the cursor column";
    EXPECT_EQ(preview->y(), kBottom - 5 - 34 - preview->height()) << "above the entry";
    preview->showText(menu->font(), "room", QPoint(1100, 400));
    EXPECT_EQ(preview->pos(), QPoint(1100, 412));
}

TEST_F(OffsetScreen, TheBarCentresAndSnapsOnThePrimaryScreen) {
    Folder("a", 1, 0);
    bar->setPlacement({false, -1, 300});
    bar->rebuildLabels();
    EXPECT_EQ(bar->requestedPosition(), QPoint(1000 + (1024 - bar->width()) / 2, 300));
    bar->skinPressed(QPoint(1500, 310));
    bar->skinReleased(QPoint(1500 - 900, 320)); // far left and 10 down: snaps to the edges
    EXPECT_EQ(bar->requestedPosition(), QPoint(1000, 300));
}
} // namespace
