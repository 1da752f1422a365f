#include "PopupFixture.h"

#include "FixturePictures.h"
#include "bar/BarLabel.h"

#include <QClipboard>
#include <QFile>
#include <QMimeData>

namespace {
class Recent : public PopupFixture {
protected:
    QStringList LabelCaptions() const {
        QStringList captions;
        for (BarLabel* label : bar->labels())
            captions << label->caption();
        return captions;
    }
    QStringList CellCaptions() const {
        QStringList captions;
        for (int i = 0; i < View().cellCount(); ++i)
            captions << View().cell(i).caption;
        return captions;
    }
    // Chooses the entry at `index` of the folder popup `folder`, as a click does.
    void Choose(LibraryNode* folder, int index) {
        Open(folder, 10, 30);
        menu->show();
        ClickCell(index);
    }
    void OpenRecent() {
        ASSERT_NE(nodes->recentNode(), nullptr);
        Open(nodes->recentNode(), 10, 30);
        menu->show();
    }
};

// Nothing pasted: no label. A paste brings 最近使用 right after 系统; its popup lists what
// was pasted, newest first and each once, and a click there pastes again.
TEST_F(Recent, PastesShowUpNewestFirstUnderTheirOwnLabel) {
    library.MakeFolder("words");
    ASSERT_TRUE(TestPattern(QSize(60, 60)).save(library / "words/smile.png"));
    LibraryNode* words = Folder("words", 2, 0);
    EXPECT_EQ(LabelCaptions(), QStringList({"系统", "words"}));

    Choose(words, 0); // t000
    Choose(words, 2); // smile.png
    Choose(words, 0); // t000 again: first, and only once
    EXPECT_EQ(LabelCaptions(), QStringList({"系统", "最近使用", "words"}));
    OpenRecent();
    EXPECT_EQ(CellCaptions(), QStringList({"t000", "smile.png"}));
    EXPECT_EQ(View().cell(1).kind, NodeKind::Image);

    QGuiApplication::clipboard()->clear();
    ClickCell(0);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("text"));

    // The list lasts: a library made again from the same file has it.
    Library again(library.Path(), RecentFile());
    ASSERT_NE(again.recentNode(), nullptr);
    EXPECT_EQ(again.recent().paths(),
              QStringList({library / "words/t000.txt", library / "words/smile.png"}));
}

TEST_F(Recent, AGoneFileDropsOutAndAMovedOneFollows) {
    LibraryNode* other = Folder("other", 0, 0);
    LibraryNode* words = Folder("words", 3, 0);
    for (int i : {0, 1, 2})
        Choose(words, i);
    ASSERT_TRUE(QFile::remove(library / "words/t001.txt"));
    // t000 is dragged onto the other folder's placeholder: moved there.
    for (int i = 0; i < root()->childCount(); ++i)
        if (root()->child(i)->caption() == "other")
            other = root()->child(i);
    Open(other, 10, 30);
    actions->drop(menu.get(), library / "words/t000.txt", -1);
    ASSERT_TRUE(QFile::exists(library / "other/t000.txt"));

    OpenRecent();
    EXPECT_EQ(CellCaptions(), QStringList({"t002", "t000"}));
    EXPECT_EQ(View().cell(1).path, library / "other/t000.txt");
    EXPECT_EQ(Library(library.Path(), RecentFile()).recent().paths(),
              QStringList({library / "words/t002.txt", library / "other/t000.txt"}));
}

// The popup of 最近使用 neither starts a drag nor takes a drop: its entries live elsewhere.
TEST_F(Recent, ThePopupTakesNoDropsAndStartsNoDrags) {
    LibraryNode* words = Folder("words", 2, 0);
    Choose(words, 0);
    Choose(words, 1);
    OpenRecent();
    drag.start(library / "words/t000.txt");
    // Dropping one entry on the other would be a reorder anywhere else.
    QMimeData data;
    data.setData("application/x-jolvex-entry", (library / "words/t000.txt").toUtf8());
    const QPoint target = View().cellRect(1).center();
    QDragMoveEvent move(target, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&View(), &move);
    EXPECT_FALSE(move.isAccepted());
    drag.finish();

    QTest::mousePress(&View(), Qt::LeftButton, Qt::NoModifier, View().cellRect(0).center());
    MovePointer(View().cellRect(0).center() + QPoint(0, 12), Qt::LeftButton);
    EXPECT_FALSE(drag.isDragging());
    QTest::mouseRelease(&View(), Qt::LeftButton, Qt::NoModifier, View().cellRect(0).center());
}

TEST_F(Recent, ClearingTakesTheLabelAway) {
    LibraryNode* words = Folder("words", 1, 0);
    Choose(words, 0);
    ASSERT_EQ(LabelCaptions(), QStringList({"系统", "最近使用", "words"}));
    commands->command(QString::fromUtf8("清除最近使用"))->trigger();
    EXPECT_EQ(LabelCaptions(), QStringList({"系统", "words"}));
    EXPECT_EQ(nodes->recentNode(), nullptr);
    EXPECT_TRUE(Library(library.Path(), RecentFile()).recent().paths().isEmpty());
}
} // namespace
