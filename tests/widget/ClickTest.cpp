#include "PopupFixture.h"

#include <QTest>

namespace {
class Click : public PopupFixture {
protected:
    void TearDown() override {
        IsDragging = false;
        PopupFixture::TearDown();
    }
};

TEST_F(Click, ACommandClosesThePopupsBeforeItRuns) {
    Open(SystemNode, 10, 30);
    menu->show();
    bool ran = false;
    bool popupOpenWhileRunning = true;
    bar->MnAbout->OnClick = [&] {
        ran = true;
        popupOpenWhileRunning = FmMenu->isVisible();
    };
    TWideMenuItem* about = menu->WideMenuItem[7];
    ASSERT_EQ(about->Caption, QString::fromUtf8("关于Jolvex"));
    about->Click();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(popupOpenWhileRunning);
}

TEST_F(Click, AFolderOpensItsSubmenuAtOnceAndThePopupsStay) {
    Open(Folder("top", 0, 0, 2), 10, 30);
    menu->show();
    TWideMenuItem* folder = menu->WideMenuItem[1];
    QCursor::setPos(folder->mapToGlobal(folder->rect().center()));
    folder->Click();
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->TimerDirHint.interval(), 1);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return menu->FmMenuSub && menu->FmMenuSub->isVisible(); }, 1000));
    EXPECT_EQ(menu->FmMenuSub->MenuItem, menu->MenuItem->Items(1));
}

TEST_F(Click, NothingHappensWhileDraggingOrOnThePlaceholderOrASeparator) {
    Open(SystemNode, 10, 30);
    menu->show();
    bool ran = false;
    bar->MnAbout->OnClick = [&] { ran = true; };
    IsDragging = true;
    menu->WideMenuItem[7]->Click();
    EXPECT_FALSE(ran);
    EXPECT_TRUE(menu->isVisible());
    IsDragging = false;
    menu->WideMenuItem[2]->Click(); // a separator
    EXPECT_TRUE(menu->isVisible());

    Open(Folder("empty", 0, 0), 10, 30);
    menu->WideMenuItem[0]->Click();
    EXPECT_TRUE(menu->isVisible());
    EXPECT_FALSE(menu->TimerDirHint.isActive());
}

TEST_F(Click, ThePressHidesThePreviewAndRecordsThePressPoint) {
    Open(Folder("top", 1, 0), 10, 30);
    menu->show();
    FmHint->ShowText(menu->font(), "preview", QPoint(10, 10));
    TWideMenuItem* entry = menu->WideMenuItem[0];
    QTest::mousePress(entry, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(FmHint->isVisible());
    EXPECT_TRUE(MouseIsPressed);
    EXPECT_EQ(PressPoint, entry->mapToGlobal(QPoint(5, 5)));
    QTest::mouseRelease(entry, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(MouseIsPressed);
}
} // namespace
