#include "PopupFixture.h"

#include "menubar/BarLabel.h"
#include "menubar/SkinImage.h"

#include <QFontMetrics>

namespace {
class MenuBar : public PopupFixture {
protected:
    void TearDown() override {
        HasSavedPosition = false;
        BarLeft = -1;
        BarTop = 0;
        PopupFixture::TearDown();
    }
    QList<BarLabel*> SortedLabels() const {
        QList<BarLabel*> labels = bar->Labels();
        std::sort(labels.begin(), labels.end(),
                  [](BarLabel* a, BarLabel* b) { return a->x() < b->x(); });
        return labels;
    }
    // Drags the bar as the skin handlers see it: press at `from`, one move, release there.
    void Drag(QPoint from, QPoint to) {
        bar->ImageMMouseDown(from);
        bar->ImageMMouseMove(to);
        bar->ImageMMouseUp();
    }
};

TEST_F(MenuBar, LabelsArePackedEdgeToEdgeTenWiderThanTheirCaptions) {
    for (const char* name : {"表情", "Words & more", "动物"})
        library.MakeFolder(QString::fromUtf8(name));
    LoadTopFolders(RootNode);
    bar->InitToolBarMenu();
    bar->InitToolBarMenu(); // a rebuild leaves one label per node
    const QList<BarLabel*> labels = SortedLabels();
    ASSERT_EQ(labels.size(), RootNode->Count());
    int x = 7;
    for (int i = 0; i < labels.size(); ++i) {
        BarLabel* label = labels[i];
        EXPECT_EQ(label->Tag, i);
        EXPECT_EQ(label->Caption(), RootNode->Items(i)->Caption);
        const QSize caption = QFontMetrics(BarFont).size(Qt::TextShowMnemonic, label->Caption());
        EXPECT_EQ(label->geometry(), QRect(x, 4, caption.width() + 10, 18)) << i;
        x += label->width();
    }
    EXPECT_EQ(bar->PanelMenuBar->width(), x + 7);
    EXPECT_EQ(bar->size(), QSize(x + 7, 26));
    EXPECT_EQ(bar->ImageR->geometry(), QRect(x + 1, 0, 6, 26));
    EXPECT_EQ(bar->ImageM->geometry(), QRect(6, 0, x + 7 - 12, 26));
}

TEST_F(MenuBar, PlacementFromTheSavedPosition) {
    LoadTopFolders(RootNode);
    const int screen = ScreenWidth();
    bar->InitToolBarMenu();
    const int width = bar->width();
    const struct {
        bool saved;
        int left, top;
        int expectedLeft;
    } cases[] = {
        {false, -1, 0, (screen - width) / 2},
        {false, 300, 40, (screen - width) / 2}, // no saved Left: centred, at the saved Top
        {true, 100, 40, 100},
        {true, screen + 700, 30, screen - width},
        {true, screen - width, 0, screen - width}, // touching the edge counts as past it
        {true, -50, 0, 0},
    };
    for (const auto& c : cases) {
        HasSavedPosition = c.saved;
        BarLeft = c.left;
        BarTop = c.top;
        bar->InitToolBarMenu();
        EXPECT_EQ(bar->pos(), QPoint(c.expectedLeft, c.top)) << c.saved << " " << c.left;
        EXPECT_EQ(BarLeft, c.expectedLeft);
    }
}

TEST_F(MenuBar, DraggingSnapsAndTheDeadZoneAppliesToTheFirstDragOnly) {
    LoadTopFolders(RootNode);
    HasSavedPosition = true;
    BarLeft = 200;
    BarTop = 100;
    bar->InitToolBarMenu();
    const int screen = ScreenWidth();

    Drag(QPoint(500, 500), QPoint(505, 495)); // 5 pixels: inside the dead zone
    EXPECT_EQ(bar->pos(), QPoint(200, 100));
    EXPECT_EQ(BarLeft, 200);
    Drag(QPoint(500, 500), QPoint(506, 500));
    EXPECT_EQ(bar->pos(), QPoint(206, 100));
    Drag(QPoint(500, 500), QPoint(501, 500)); // after the first drag any move counts
    EXPECT_EQ(bar->pos(), QPoint(207, 100));

    const struct {
        QPoint move;
        QPoint expected;
    } cases[] = {
        {{0, -85}, {207, 0}},                      // Top 15 snaps to 0
        {{0, 16}, {207, 16}},                      // 16 stays
        {{0, -100}, {207, 0}},                     // above the screen: 0
        {{0, 5000}, {207, 5000}},                  // below the screen: stays
        {{-400, -5000}, {0, 0}},                   // beyond the left edge
        {{screen, 0}, {screen - bar->width(), 0}}, // beyond the right edge
    };
    for (const auto& c : cases) {
        Drag(QPoint(500, 500), QPoint(500, 500) + c.move);
        EXPECT_EQ(bar->pos(), c.expected) << c.move.x() << "," << c.move.y();
        EXPECT_EQ(BarLeft, c.expected.x());
    }
    EXPECT_EQ(BarTop, 100) << "a drag never changes the saved Top";
}

TEST_F(MenuBar, LabelsHighlightAndThePopupSwitchesWithThePointer) {
    Folder("a", 1, 0);
    Folder("b", 2, 0);
    bar->InitToolBarMenu();
    bar->show();
    const QList<BarLabel*> labels = SortedLabels();
    ASSERT_EQ(labels.size(), 3);

    bar->LabelMouseEnter(labels[1]);
    EXPECT_TRUE(labels[1]->Highlighted());
    EXPECT_FALSE(FmMenu->isVisible()) << "pointing opens nothing";
    bar->LabelMouseLeave(labels[1]);
    EXPECT_FALSE(labels[1]->Highlighted());

    bar->LabelMouseEnter(labels[1]);
    bar->LabelMouseDown(labels[1], Qt::RightButton);
    EXPECT_FALSE(FmMenu->isVisible()) << "only the left button opens";
    bar->LabelMouseDown(labels[1], Qt::LeftButton);
    ASSERT_TRUE(FmMenu->isVisible());
    EXPECT_EQ(FmMenu->MenuItem, RootNode->Items(1));
    EXPECT_EQ(FmMenu->pos(), labels[1]->mapToGlobal(QPoint(0, 0)) + QPoint(0, 22));
    EXPECT_EQ(FmMenu->LeftWidth, labels[1]->mapToGlobal(QPoint(labels[1]->width(), 0)).x());
    EXPECT_TRUE(bar->TimerMenuEnabled());
    bar->LabelMouseLeave(labels[1]);
    EXPECT_TRUE(labels[1]->Highlighted()) << "keeps its highlight while the popup is open";

    bar->LabelMouseEnter(labels[2]);
    EXPECT_TRUE(FmMenu->isVisible());
    EXPECT_EQ(FmMenu->MenuItem, RootNode->Items(2));
    EXPECT_FALSE(labels[1]->Highlighted());
    EXPECT_TRUE(labels[2]->Highlighted());

    QCursor::setPos(bar->mapToGlobal(QPoint(bar->width() + 50, 300)));
    bar->LabelMouseDown(labels[2], Qt::LeftButton); // a second press closes
    EXPECT_FALSE(FmMenu->isVisible());
    EXPECT_FALSE(labels[2]->Highlighted()) << "the pointer is elsewhere: normal look";
    EXPECT_FALSE(bar->TimerMenuEnabled());
}
} // namespace
