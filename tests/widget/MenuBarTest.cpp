#include "PopupFixture.h"

#include "bar/BarLabel.h"
#include "bar/BarSkin.h"

#include <QFontMetrics>

namespace {
class MenuBar : public PopupFixture {
protected:
    QList<BarLabel*> SortedLabels() const {
        QList<BarLabel*> labels = bar->labels();
        std::sort(labels.begin(), labels.end(),
                  [](BarLabel* a, BarLabel* b) { return a->x() < b->x(); });
        return labels;
    }
    // Drags the bar as the skin handlers see it: press at `from`, one move, release there.
    void Drag(QPoint from, QPoint to) {
        bar->skinPressed(from);
        bar->skinDragged(to);
        bar->skinReleased(to);
    }
};

TEST_F(MenuBar, LabelsArePackedEdgeToEdgeTenWiderThanTheirCaptions) {
    for (const char* name : {"表情", "Words & more", "动物"})
        library.MakeFolder(QString::fromUtf8(name));
    loadTopFolders(root());
    bar->rebuildLabels();
    bar->rebuildLabels(); // a rebuild leaves one label per node
    const QList<BarLabel*> labels = SortedLabels();
    ASSERT_EQ(labels.size(), root()->childCount());
    int x = 7;
    for (int i = 0; i < labels.size(); ++i) {
        BarLabel* label = labels[i];
        EXPECT_EQ(label->nodeIndex(), i);
        EXPECT_EQ(label->caption(), root()->child(i)->caption());
        const QSize caption = QFontMetrics(barFont()).size(Qt::TextShowMnemonic, label->caption());
        EXPECT_EQ(label->geometry(), QRect(x, 4, caption.width() + 10, 18)) << i;
        x += label->width();
    }
    EXPECT_EQ(bar->size(), QSize(x + 7, 26));
    const auto* skin = bar->findChild<BarSkin*>();
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin->geometry(), QRect(0, 0, x + 7, 26)) << "the skin stretches under the labels";
}

TEST_F(MenuBar, PlacementFromTheSavedPosition) {
    loadTopFolders(root());
    const int screen = screenRect().width();
    bar->rebuildLabels();
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
        bar->setPlacement({c.saved, c.left, c.top});
        bar->rebuildLabels();
        EXPECT_EQ(bar->pos(), QPoint(c.expectedLeft, c.top)) << c.saved << " " << c.left;
        EXPECT_EQ(bar->placement().left, c.expectedLeft);
    }
}

TEST_F(MenuBar, DraggingSnapsAndTheDeadZoneAppliesToTheFirstDragOnly) {
    loadTopFolders(root());
    bar->setPlacement({true, 200, 100});
    bar->rebuildLabels();
    const int screen = screenRect().width();

    Drag(QPoint(500, 500), QPoint(505, 495)); // 5 pixels: inside the dead zone
    EXPECT_EQ(bar->pos(), QPoint(200, 100));
    EXPECT_EQ(bar->placement().left, 200);
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
        EXPECT_EQ(bar->placement().left, c.expected.x());
    }
    EXPECT_EQ(bar->placement().top, 100) << "a drag never changes the saved Top";
}

// Under openbox the window system may report the frame's place from before the frame was
// moved, and nothing after: the bar asks again for where it was put, once per place asked for.
TEST_F(MenuBar, APlaceReportedOtherThanTheOneAskedForIsAskedForAgainOnce) {
    loadTopFolders(root());
    bar->setPlacement({true, 200, 100});
    bar->rebuildLabels();
    bar->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(bar.get()));
    ASSERT_EQ(bar->pos(), QPoint(200, 100));

    bar->move(0, 0); // as a stale report would set it
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->pos() == QPoint(200, 100); }, 2000));
    EXPECT_EQ(bar->requestedPosition(), QPoint(200, 100));

    bar->move(0, 0); // a window manager that keeps the bar there
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(bar->pos(), QPoint(0, 0)) << "asked again once only";

    Drag(QPoint(500, 500), QPoint(520, 500)); // a new place asked for
    ASSERT_EQ(bar->pos(), QPoint(220, 100));
    bar->move(0, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->pos() == QPoint(220, 100); }, 2000));
}

TEST_F(MenuBar, LabelsHighlightAndThePopupSwitchesWithThePointer) {
    Folder("a", 1, 0);
    Folder("b", 2, 0);
    bar->rebuildLabels();
    bar->show();
    const QList<BarLabel*> labels = SortedLabels();
    ASSERT_EQ(labels.size(), 3);

    bar->labelEntered(labels[1]);
    EXPECT_TRUE(labels[1]->isHighlighted());
    EXPECT_FALSE(menu->isVisible()) << "pointing opens nothing";
    bar->labelLeft(labels[1]);
    EXPECT_FALSE(labels[1]->isHighlighted());

    bar->labelEntered(labels[1]);
    bar->labelPressed(labels[1], Qt::RightButton);
    EXPECT_FALSE(menu->isVisible()) << "only the left button opens";
    bar->labelPressed(labels[1], Qt::LeftButton);
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->node(), root()->child(1));
    EXPECT_EQ(menu->pos(), labels[1]->mapToGlobal(QPoint(0, 0)) + QPoint(0, 22));
    EXPECT_EQ(menu->labelRight(), labels[1]->mapToGlobal(QPoint(labels[1]->width(), 0)).x());
    EXPECT_TRUE(bar->outsideWatchActive());
    bar->labelLeft(labels[1]);
    EXPECT_TRUE(labels[1]->isHighlighted()) << "keeps its highlight while the popup is open";

    bar->labelEntered(labels[2]);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->node(), root()->child(2));
    EXPECT_FALSE(labels[1]->isHighlighted());
    EXPECT_TRUE(labels[2]->isHighlighted());

    QCursor::setPos(bar->mapToGlobal(QPoint(bar->width() + 50, 300)));
    bar->labelPressed(labels[2], Qt::LeftButton); // a second press closes
    EXPECT_FALSE(menu->isVisible());
    EXPECT_FALSE(labels[2]->isHighlighted()) << "the pointer is elsewhere: normal look";
    EXPECT_FALSE(bar->outsideWatchActive());
}
} // namespace
