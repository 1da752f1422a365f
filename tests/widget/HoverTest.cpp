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
        IsDragging = false;
        PopupFixture::TearDown();
    }
    // Opens the submenu of folder `index` as the hover timer does.
    void OpenSubMenu(int index) {
        TWideMenuItem* folder = menu->WideMenuItem[static_cast<size_t>(index)];
        QCursor::setPos(folder->mapToGlobal(folder->rect().center()));
        menu->UserMsgMenuItemSenecting(500, index);
        menu->TimerDirHintTimer();
        ASSERT_TRUE(menu->FmMenuSub && menu->FmMenuSub->isVisible());
    }
};

TEST_F(Hover, EnteringArmsTheTimerWithTheEntrysDelay) {
    menu->WideMenuItem[0]->CMMouseEnter();
    EXPECT_EQ(menu->SelectedItem, 0);
    EXPECT_TRUE(menu->TimerDirHint.isActive());
    EXPECT_EQ(menu->TimerDirHint.interval(), 500);
    EXPECT_TRUE(menu->WideMenuItem[0]->MouseEnter);

    menu->WideMenuItem[3]->CMMouseEnter();
    EXPECT_EQ(menu->SelectedItem, 3);
    EXPECT_EQ(menu->TimerDirHint.interval(), 800);
    EXPECT_FALSE(menu->WideMenuItem[0]->MouseEnter) << "selecting another entry clears the old one";
    EXPECT_TRUE(menu->WideMenuItem[3]->MouseEnter);
}

TEST_F(Hover, TheTimerActsOnlyWhileThePointerIsStillOnTheEntry) {
    TWideMenuItem* folder = menu->WideMenuItem[1];
    menu->UserMsgMenuItemSenecting(500, 1);
    QCursor::setPos(menu->WideMenuItem[4]->mapToGlobal(QPoint(3, 3)));
    menu->TimerDirHintTimer();
    EXPECT_FALSE(menu->FmMenuSub) << "the pointer had left";

    QCursor::setPos(folder->mapToGlobal(folder->rect().center()));
    menu->UserMsgMenuItemSenecting(500, 1);
    menu->TimerDirHintTimer();
    ASSERT_TRUE(menu->FmMenuSub);
    EXPECT_TRUE(menu->FmMenuSub->isVisible());
    EXPECT_EQ(menu->FmMenuSub->MenuItem, menu->MenuItem->Items(1));
    EXPECT_EQ(menu->FmMenuSub->x(), menu->x() + menu->ClientWidth() - 2);
    EXPECT_EQ(menu->FmMenuSub->y(), folder->mapToGlobal(QPoint(0, 0)).y() - 2);
}

TEST_F(Hover, ReenteringTheOpenFolderKeepsItsSubmenuUnlessDragging) {
    OpenSubMenu(1);
    QPointer<TFmMenu> sub = menu->FmMenuSub;
    menu->UserMsgMenuItemSelected(1);
    menu->UserMsgMenuItemSenecting(500, 1);
    EXPECT_TRUE(sub->isVisible());
    EXPECT_FALSE(menu->TimerDirHint.isActive());

    IsDragging = true;
    menu->UserMsgMenuItemSenecting(500, 1);
    EXPECT_FALSE(sub->isVisible()) << "while dragging it closes and reopens after the delay";
    EXPECT_TRUE(menu->TimerDirHint.isActive());
}

TEST_F(Hover, AnotherEntryHidesTheSubmenuAtOnceAndItIsReused) {
    OpenSubMenu(0);
    QPointer<TFmMenu> sub = menu->FmMenuSub;
    menu->WideMenuItem[0]->MouseEnter = true; // kept hot for its open submenu
    menu->UserMsgMenuItemSelected(4);
    EXPECT_FALSE(sub->isVisible());
    EXPECT_FALSE(menu->WideMenuItem[0]->MouseEnter);
    OpenSubMenu(2);
    EXPECT_EQ(menu->FmMenuSub, sub) << "the hidden submenu is reused";
    EXPECT_EQ(sub->MenuItem, menu->MenuItem->Items(2));
}

TEST_F(Hover, AFolderClickOpensAtOnceUnlessASubmenuIsShowing) {
    menu->UserMsgMenuItemSenecting(-1, 2);
    EXPECT_EQ(menu->SelectedItem, 2);
    EXPECT_EQ(menu->TimerDirHint.interval(), 1);
    EXPECT_TRUE(menu->TimerDirHint.isActive());

    OpenSubMenu(0);
    menu->UserMsgMenuItemSenecting(-1, 2);
    EXPECT_EQ(menu->SelectedItem, 0);
    EXPECT_FALSE(menu->TimerDirHint.isActive());
}

TEST_F(Hover, LeavingAFolderWithAnOpenSubmenuKeepsItHot) {
    OpenSubMenu(0);
    TWideMenuItem* folder = menu->WideMenuItem[0];
    folder->MouseEnter = true;
    folder->CMMouseLeave();
    EXPECT_TRUE(folder->MouseEnter);
    menu->FmMenuSub->hide();
    folder->CMMouseLeave();
    EXPECT_FALSE(folder->MouseEnter);
}

TEST_F(Hover, SeparatorsNeverTurnHotAndThePlaceholderSendsNothing) {
    Open(SystemNode, 10, 30);
    TWideMenuItem* separator = menu->WideMenuItem[2];
    separator->CMMouseEnter();
    EXPECT_FALSE(separator->MouseEnter);
    EXPECT_EQ(menu->SelectedItem, 2) << "it still reports the pointer";

    Open(Folder("empty", 0, 0), 10, 30);
    menu->SelectedItem = -1;
    menu->TimerDirHint.stop();
    menu->WideMenuItem[0]->CMMouseEnter();
    EXPECT_TRUE(menu->WideMenuItem[0]->MouseEnter);
    EXPECT_EQ(menu->SelectedItem, -1);
    EXPECT_FALSE(menu->TimerDirHint.isActive());
}

TEST_F(Hover, ASnippetShowsItsTextAndAPictureItsPreview) {
    library.Write("top/t000.txt", "Hello there");
    library.Write("top/t001.txt", "Hello there");
    TWideMenuItem* snippet = menu->WideMenuItem[3];
    QCursor::setPos(snippet->mapToGlobal(QPoint(10, 5)));
    menu->UserMsgMenuItemSenecting(800, 3);
    menu->TimerDirHintTimer();
    EXPECT_TRUE(FmHint->isVisible());
    EXPECT_EQ(FmHint->LabelTextHint->Caption(), "Hello there");
    EXPECT_EQ(FmHint->y(), snippet->mapToGlobal(QPoint(0, 0)).y() + snippet->height() + 12);

    menu->UserMsgMenuItemSelected(5);
    EXPECT_FALSE(FmHint->isVisible()) << "every selection hides the preview";
    EXPECT_EQ(FmHint->LabelTextHint->Caption(), "");
}

TEST_F(Hover, EnteringAScrollButtonSelectsEntryZero) {
    OpenSubMenu(0);
    menu->ScrollButtonEnter(2);
    EXPECT_TRUE(menu->FmMenuSub->isVisible()) << "entry 0 was the selected one";
    EXPECT_EQ(menu->MouseInScroolBtn, 2);
    menu->ScrollButtonLeave(2);
    EXPECT_EQ(menu->MouseInScroolBtn, 0);
    EXPECT_FALSE(menu->TimerScroll.isActive());
}

TEST_F(Hover, HidingTheFirstLevelPopupFreesTheSubmenuChain) {
    OpenSubMenu(0);
    QPointer<TFmMenu> sub = menu->FmMenuSub;
    menu->hide();
    EXPECT_EQ(menu->FmMenuSub, nullptr);
    EXPECT_FALSE(sub.isNull()) << "released only once the current handler has returned";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(sub.isNull());
}
} // namespace
