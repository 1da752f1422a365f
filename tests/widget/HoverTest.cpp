#include "PopupFixture.h"

namespace {
// The popup's decisions when entries report the pointer.
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
    // Opens the submenu of folder `index` as the hover timer does.
    void OpenSubMenu(int index) {
        PopupEntry* folder = menu->entries()[static_cast<size_t>(index)];
        QCursor::setPos(folder->mapToGlobal(folder->rect().center()));
        menu->armHoverTimer(500, index);
        menu->hoverTimeout();
        ASSERT_TRUE(menu->submenu() && menu->submenu()->isVisible());
    }
};

TEST_F(Hover, EnteringArmsTheTimerWithTheEntrysDelay) {
    menu->entries()[0]->pointerEntered();
    EXPECT_EQ(menu->selectedIndex(), 0);
    EXPECT_TRUE(menu->hoverTimer().isActive());
    EXPECT_EQ(menu->hoverTimer().interval(), 500);
    EXPECT_TRUE(menu->entries()[0]->isHot());

    menu->entries()[3]->pointerEntered();
    EXPECT_EQ(menu->selectedIndex(), 3);
    EXPECT_EQ(menu->hoverTimer().interval(), 800);
    EXPECT_FALSE(menu->entries()[0]->isHot()) << "selecting another entry clears the old one";
    EXPECT_TRUE(menu->entries()[3]->isHot());
}

TEST_F(Hover, TheTimerActsOnlyWhileThePointerIsStillOnTheEntry) {
    PopupEntry* folder = menu->entries()[1];
    menu->armHoverTimer(500, 1);
    QCursor::setPos(menu->entries()[4]->mapToGlobal(QPoint(3, 3)));
    menu->hoverTimeout();
    EXPECT_FALSE(menu->submenu()) << "the pointer had left";

    QCursor::setPos(folder->mapToGlobal(folder->rect().center()));
    menu->armHoverTimer(500, 1);
    menu->hoverTimeout();
    ASSERT_TRUE(menu->submenu());
    EXPECT_TRUE(menu->submenu()->isVisible());
    EXPECT_EQ(menu->submenu()->node(), menu->node()->child(1));
    EXPECT_EQ(menu->submenu()->x(), menu->x() + menu->width() - 2);
    EXPECT_EQ(menu->submenu()->y(), folder->mapToGlobal(QPoint(0, 0)).y() - 2);
}

TEST_F(Hover, ReenteringTheOpenFolderKeepsItsSubmenuUnlessDragging) {
    OpenSubMenu(1);
    QPointer<FolderPopup> sub = menu->submenu();
    menu->entryEntered(1);
    menu->armHoverTimer(500, 1);
    EXPECT_TRUE(sub->isVisible());
    EXPECT_FALSE(menu->hoverTimer().isActive());

    drag.start("x");
    menu->armHoverTimer(500, 1);
    EXPECT_FALSE(sub->isVisible()) << "while dragging it closes and reopens after the delay";
    EXPECT_TRUE(menu->hoverTimer().isActive());
}

TEST_F(Hover, AnotherEntryHidesTheSubmenuAtOnceAndItIsReused) {
    OpenSubMenu(0);
    QPointer<FolderPopup> sub = menu->submenu();
    menu->entries()[0]->setHot(true); // kept hot for its open submenu
    menu->entryEntered(4);
    EXPECT_FALSE(sub->isVisible());
    EXPECT_FALSE(menu->entries()[0]->isHot());
    OpenSubMenu(2);
    EXPECT_EQ(menu->submenu(), sub) << "the hidden submenu is reused";
    EXPECT_EQ(sub->node(), menu->node()->child(2));
}

TEST_F(Hover, AFolderClickOpensAtOnceUnlessASubmenuIsShowing) {
    menu->openSubmenuSoon(2);
    EXPECT_EQ(menu->selectedIndex(), 2);
    EXPECT_EQ(menu->hoverTimer().interval(), 1);
    EXPECT_TRUE(menu->hoverTimer().isActive());

    OpenSubMenu(0);
    menu->openSubmenuSoon(2);
    EXPECT_EQ(menu->selectedIndex(), 0);
    EXPECT_FALSE(menu->hoverTimer().isActive());
}

TEST_F(Hover, LeavingAFolderWithAnOpenSubmenuKeepsItHot) {
    OpenSubMenu(0);
    PopupEntry* folder = menu->entries()[0];
    folder->setHot(true);
    folder->pointerLeft();
    EXPECT_TRUE(folder->isHot());
    menu->submenu()->hide();
    folder->pointerLeft();
    EXPECT_FALSE(folder->isHot());
}

TEST_F(Hover, SeparatorsNeverTurnHotAndThePlaceholderSendsNothing) {
    Open(systemNode(), 10, 30);
    PopupEntry* separator = menu->entries()[2];
    separator->pointerEntered();
    EXPECT_FALSE(separator->isHot());
    EXPECT_EQ(menu->selectedIndex(), 2) << "it still reports the pointer";

    Open(Folder("empty", 0, 0), 10, 30);
    menu->closeSubmenu(); // stops the hover timer
    const int selected = menu->selectedIndex();
    menu->entries()[0]->pointerEntered();
    EXPECT_TRUE(menu->entries()[0]->isHot());
    EXPECT_EQ(menu->selectedIndex(), selected);
    EXPECT_FALSE(menu->hoverTimer().isActive());
}

TEST_F(Hover, ASnippetShowsItsTextAndAPictureItsPreview) {
    library.Write("top/t000.txt", "Hello there");
    library.Write("top/t001.txt", "Hello there");
    PopupEntry* snippet = menu->entries()[3];
    QCursor::setPos(snippet->mapToGlobal(QPoint(10, 5)));
    menu->armHoverTimer(800, 3);
    menu->hoverTimeout();
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->textView().text(), "Hello there");
    EXPECT_EQ(preview->y(), snippet->mapToGlobal(QPoint(0, 0)).y() + snippet->height() + 12);

    menu->entryEntered(5);
    EXPECT_FALSE(preview->isVisible()) << "every selection hides the preview";
    EXPECT_EQ(preview->textView().text(), "");
}

TEST_F(Hover, EnteringAScrollButtonSelectsEntryZero) {
    OpenSubMenu(0);
    menu->scrollButtonEntered(ScrollDirection::Down);
    EXPECT_TRUE(menu->submenu()->isVisible()) << "entry 0 was the selected one";
    EXPECT_EQ(menu->scrolling(), ScrollDirection::Down);
    menu->scrollButtonLeft(ScrollDirection::Down);
    EXPECT_EQ(menu->scrolling(), ScrollDirection::None);
    EXPECT_FALSE(menu->scrollTimer().isActive());
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
TEST_F(Hover, APressOnAScrollButtonDoesNothing) {
    Open(Folder("long", 60, 0, 2), 10, 30); // taller than the screen: the bottom button shows
    menu->show();
    ScrollButton* button = menu->scrollButton(ScrollDirection::Down);
    ASSERT_GT(button->width(), 0);
    OpenSubMenu(1);
    preview->showText(menu->font(), "preview", QPoint(10, 10));
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(menu->submenu()->isVisible()) << "the press reached the panel below";
    EXPECT_TRUE(preview->isVisible());
}
} // namespace
