#include "PopupFixture.h"

namespace {
// What the pointer does to a popup: hot cells, the hover timer, submenus and previews.
class Hover : public PopupFixture {
protected:
    void SetUp() override {
        PopupFixture::SetUp();
        Open(Folder("top", 2, 2, 3), 10, 30); // folders 0..2, texts 3..4, pictures 5..6
        menu->show();
    }
    void TearDown() override {
        drag.finish();
        PopupFixture::TearDown();
    }
    // Rests the pointer on folder `index` until its submenu opens.
    void OpenSubMenu(int index) {
        MoveToCell(index);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return menu->submenu() && menu->submenu()->isVisible(); }, 3000));
        ASSERT_EQ(View().hoverState(), HoverState::SubmenuOpen);
    }
};

TEST_F(Hover, EnteringArmsTheTimerWithTheCellsDelay) {
    MoveToCell(0);
    EXPECT_EQ(View().selectedIndex(), 0);
    EXPECT_TRUE(View().hoverTimer().isActive());
    EXPECT_EQ(View().hoverTimer().interval(), 500);
    EXPECT_EQ(View().hoverState(), HoverState::Armed);
    EXPECT_EQ(View().hotIndex(), 0);

    MoveToCell(3);
    EXPECT_EQ(View().selectedIndex(), 3);
    EXPECT_EQ(View().hoverTimer().interval(), 800);
    EXPECT_EQ(View().hotIndex(), 3) << "selecting another cell clears the old one";
}

TEST_F(Hover, TheTimerActsOnlyWhileThePointerIsStillOnTheCell) {
    MoveToCell(1);
    MovePointerAway();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !View().hoverTimer().isActive(); }, 3000));
    EXPECT_FALSE(menu->submenu()) << "the pointer had left";

    MoveToCell(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->submenu() != nullptr; }, 3000));
    EXPECT_TRUE(menu->submenu()->isVisible());
    EXPECT_EQ(menu->submenu()->node(), menu->node()->child(1));
    EXPECT_EQ(menu->submenu()->x(), menu->x() + menu->width() - 2);
    EXPECT_EQ(menu->submenu()->y(), View().mapToGlobal(View().cellRect(1).topLeft()).y() - 2);
}

TEST_F(Hover, ReenteringTheOpenFolderKeepsItsSubmenuUnlessDragging) {
    OpenSubMenu(1);
    QPointer<FolderPopup> sub = menu->submenu();
    PointerLeaves(); // onto the submenu
    MoveToCell(1);
    EXPECT_TRUE(sub->isVisible());
    EXPECT_FALSE(View().hoverTimer().isActive());
    EXPECT_EQ(View().hoverState(), HoverState::SubmenuOpen);

    drag.start("x");
    PointerLeaves();
    MoveToCell(1);
    EXPECT_FALSE(sub->isVisible()) << "while dragging it closes and reopens after the delay";
    EXPECT_TRUE(View().hoverTimer().isActive());
}

TEST_F(Hover, AnotherCellHidesTheSubmenuAtOnceAndItIsReused) {
    OpenSubMenu(0);
    QPointer<FolderPopup> sub = menu->submenu();
    EXPECT_EQ(View().hotIndex(), 0);
    MoveToCell(4);
    EXPECT_FALSE(sub->isVisible());
    EXPECT_EQ(View().hotIndex(), 4);
    OpenSubMenu(2);
    EXPECT_EQ(menu->submenu(), sub) << "the hidden submenu is reused";
    EXPECT_EQ(sub->node(), menu->node()->child(2));
}

TEST_F(Hover, LeavingAFolderWithAnOpenSubmenuKeepsItHot) {
    OpenSubMenu(0);
    PointerLeaves();
    EXPECT_EQ(View().hotIndex(), 0);
    menu->submenu()->hide();
    EXPECT_EQ(View().hoverState(), HoverState::Idle);
    MoveToCell(0);
    PointerLeaves();
    EXPECT_EQ(View().hotIndex(), -1);
}

TEST_F(Hover, SeparatorsNeverTurnHotAndThePlaceholderSendsNothing) {
    Open(systemNode(), 10, 30);
    MoveToCell(3);
    EXPECT_EQ(View().hotIndex(), -1);
    EXPECT_EQ(View().selectedIndex(), 3) << "it still takes the pointer";

    Open(Folder("empty", 0, 0), 10, 30);
    MoveToCell(0);
    EXPECT_EQ(View().hotIndex(), 0);
    EXPECT_EQ(View().selectedIndex(), -1);
    EXPECT_FALSE(View().hoverTimer().isActive());
}

TEST_F(Hover, ASnippetShowsItsTextAndAPictureItsPreview) {
    library.Write("top/t000.txt", "Hello there");
    MoveToCell(3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview->isVisible(); }, 3000));
    EXPECT_EQ(preview->textView().text(), "Hello there");
    EXPECT_EQ(preview->y(), View().mapToGlobal(View().cellRect(3).bottomLeft()).y() + 1 + 12);
    EXPECT_EQ(View().hoverState(), HoverState::Preview);

    MoveToCell(5);
    EXPECT_FALSE(preview->isVisible()) << "every selection hides the preview";
    EXPECT_EQ(preview->textView().text(), "");
    EXPECT_EQ(View().hoverState(), HoverState::Armed);
}

// A popup filled again under a pointer that has not moved (after a drop, say) enters nothing
// until the pointer moves on to another cell.
TEST_F(Hover, AStillPointerEntersNothingAfterARefill) {
    QCursor::setPos(CellCentre(3));
    menu->refill();
    MovePointer(View().cellRect(3).center());
    EXPECT_EQ(View().hotIndex(), -1);
    EXPECT_FALSE(View().hoverTimer().isActive());
    MoveToCell(4);
    EXPECT_EQ(View().hotIndex(), 4);
}

TEST_F(Hover, APressOnTheEmptySpaceClosesTheSubmenuAndThePreview) {
    OpenSubMenu(1);
    preview->showText(menu->font(), "preview", QPoint(10, 10));
    QTest::mousePress(&View(), Qt::LeftButton, Qt::NoModifier, QPoint(0, 30)); // left of the rows
    EXPECT_FALSE(menu->submenu()->isVisible());
    EXPECT_FALSE(preview->isVisible());
}

TEST_F(Hover, HidingTheFirstLevelPopupFreesTheSubmenuChain) {
    OpenSubMenu(0);
    QPointer<FolderPopup> sub = menu->submenu();
    menu->hide();
    EXPECT_EQ(menu->submenu(), nullptr);
    EXPECT_FALSE(sub.isNull()) << "released only once the current handler has returned";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(sub.isNull());
}

class Scrolling : public Hover {
protected:
    void SetUp() override {
        Hover::SetUp();
        Open(Folder("long", 60, 0, 2), 10, 30); // taller than the screen: the bottom button
        menu->show();
    }
};

TEST_F(Scrolling, EnteringAScrollButtonSelectsCellZero) {
    OpenSubMenu(0);
    const QRect button = View().scrollButtonRect(ScrollDirection::Down);
    ASSERT_FALSE(button.isEmpty());
    MovePointer(button.center());
    EXPECT_TRUE(menu->submenu()->isVisible()) << "cell 0 was the selected one";
    EXPECT_EQ(View().scrolling(), ScrollDirection::Down);
    EXPECT_TRUE(View().scrollTimer().isActive());
    MoveToCell(5);
    EXPECT_EQ(View().scrolling(), ScrollDirection::None);
    EXPECT_FALSE(View().scrollTimer().isActive());
}

TEST_F(Scrolling, APressOnAScrollButtonDoesNothing) {
    OpenSubMenu(0);
    preview->showText(menu->font(), "preview", QPoint(10, 10));
    const QPoint button = View().scrollButtonRect(ScrollDirection::Down).center();
    QTest::mousePress(&View(), Qt::LeftButton, Qt::NoModifier, button);
    QTest::mouseRelease(&View(), Qt::LeftButton, Qt::NoModifier, button);
    EXPECT_TRUE(menu->submenu()->isVisible()) << "the press reached the space below";
    EXPECT_TRUE(preview->isVisible());
}
} // namespace
