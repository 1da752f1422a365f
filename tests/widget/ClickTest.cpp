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
    ASSERT_EQ(View().cell(9).caption, QString::fromUtf8("关于Jolvex"));
    ClickCell(9);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(popupOpenWhileRunning);
}

// Without a window system that takes synthetic keys (here: none at all) the snippet is only
// copied, and the note beside the bar asks the user for Ctrl+V; no message box.
TEST_F(Click, ASnippetThatCouldNotBePastedLeavesTheNoteBesideTheBar) {
    bar->show();
    Open(Folder("top", 1, 0), 10, 30);
    menu->show();
    ClickCell(0);
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
    QCursor::setPos(CellCentre(1));
    ClickCell(1);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(View().hoverTimer().interval(), 1);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return menu->submenu() && menu->submenu()->isVisible(); }, 1000));
    EXPECT_EQ(menu->submenu()->node(), menu->node()->child(1));
}

TEST_F(Click, NothingHappensWhileDraggingOrOnThePlaceholderOrASeparator) {
    Open(systemNode(), 10, 30);
    menu->show();
    bool ran = false;
    commands->command(QString::fromUtf8("关于Jolvex"))->setAction([&] { ran = true; });
    // A drag began from the press; its button comes up over the command.
    const QPoint about = View().cellRect(8).center();
    QTest::mousePress(&View(), Qt::LeftButton, Qt::NoModifier, about);
    drag.start("x");
    QTest::mouseRelease(&View(), Qt::LeftButton, Qt::NoModifier, about);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(menu->isVisible());
    drag.finish();
    ClickCell(3); // a separator
    EXPECT_TRUE(menu->isVisible());
    // Pressed on one command, released on another.
    QTest::mousePress(&View(), Qt::LeftButton, Qt::NoModifier, View().cellRect(7).center());
    QTest::mouseRelease(&View(), Qt::LeftButton, Qt::NoModifier, about);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(menu->isVisible());

    Open(Folder("empty", 0, 0), 10, 30);
    ClickCell(0);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_FALSE(View().hoverTimer().isActive());
}

TEST_F(Click, ThePressHidesThePreviewAndRecordsThePressPoint) {
    Open(Folder("top", 1, 0), 10, 30);
    menu->show();
    preview->showText(menu->font(), "preview", QPoint(10, 10));
    const QPoint inside = View().cellRect(0).topLeft() + QPoint(5, 5);
    QTest::mousePress(&View(), Qt::LeftButton, Qt::NoModifier, inside);
    EXPECT_FALSE(preview->isVisible());
    EXPECT_TRUE(drag.isPressed());
    EXPECT_EQ(drag.pressPoint(), View().mapToGlobal(inside));
    QTest::mouseRelease(&View(), Qt::LeftButton, Qt::NoModifier, inside);
    EXPECT_FALSE(drag.isPressed());
}
} // namespace
