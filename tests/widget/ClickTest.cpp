#include "PopupFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

namespace {
class Click : public PopupFixture {
protected:
    void TearDown() override {
        drag.finish();
        PopupFixture::TearDown();
    }
};

TEST_F(Click, ACommandClosesThePopupsBeforeItRuns) {
    Open(systemNode(), 10, 30);
    menu->show();
    bool ran = false;
    bool popupOpenWhileRunning = true;
    commands->command(QString::fromUtf8("关于Jolvex"))->setAction([&] {
        ran = true;
        popupOpenWhileRunning = menu->isVisible();
    });
    PopupEntry* about = menu->entries()[7];
    ASSERT_EQ(about->caption(), QString::fromUtf8("关于Jolvex"));
    about->click();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(popupOpenWhileRunning);
}

// Without a window system that takes synthetic keys (here: none at all) the snippet is only
// copied, and the note beside the bar asks the user for Ctrl+V; no message box.
TEST_F(Click, ASnippetThatCouldNotBePastedLeavesTheNoteBesideTheBar) {
    bar->show();
    Open(Folder("top", 1, 0), 10, 30);
    menu->show();
    Entry(0)->click();
    EXPECT_FALSE(menu->isVisible());
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->geometry().top(), bar->frameGeometry().bottom() + 3);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("text"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The next popup takes the note away.
    menu->show();
    EXPECT_FALSE(notice->isVisible());
}

TEST_F(Click, AFolderOpensItsSubmenuAtOnceAndThePopupsStay) {
    Open(Folder("top", 0, 0, 2), 10, 30);
    menu->show();
    PopupEntry* folder = menu->entries()[1];
    QCursor::setPos(folder->mapToGlobal(folder->rect().center()));
    folder->click();
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->hoverTimer().interval(), 1);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return menu->submenu() && menu->submenu()->isVisible(); }, 1000));
    EXPECT_EQ(menu->submenu()->node(), menu->node()->child(1));
}

TEST_F(Click, NothingHappensWhileDraggingOrOnThePlaceholderOrASeparator) {
    Open(systemNode(), 10, 30);
    menu->show();
    bool ran = false;
    commands->command(QString::fromUtf8("关于Jolvex"))->setAction([&] { ran = true; });
    drag.start("x");
    menu->entries()[7]->click();
    EXPECT_FALSE(ran);
    EXPECT_TRUE(menu->isVisible());
    drag.finish();
    menu->entries()[2]->click(); // a separator
    EXPECT_TRUE(menu->isVisible());

    Open(Folder("empty", 0, 0), 10, 30);
    menu->entries()[0]->click();
    EXPECT_TRUE(menu->isVisible());
    EXPECT_FALSE(menu->hoverTimer().isActive());
}

TEST_F(Click, ThePressHidesThePreviewAndRecordsThePressPoint) {
    Open(Folder("top", 1, 0), 10, 30);
    menu->show();
    preview->showText(menu->font(), "preview", QPoint(10, 10));
    PopupEntry* entry = menu->entries()[0];
    QTest::mousePress(entry, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(preview->isVisible());
    EXPECT_TRUE(drag.isPressed());
    EXPECT_EQ(drag.pressPoint(), entry->mapToGlobal(QPoint(5, 5)));
    QTest::mouseRelease(entry, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(drag.isPressed());
}
} // namespace
