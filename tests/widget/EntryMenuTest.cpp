#include "PopupFixture.h"

#include "FixturePictures.h"
#include "base/TextCodec.h"
#include "platform/FileSystem.h"

#include <QClipboard>
#include <QInputDialog>
#include <QTimer>

namespace {
class EntryMenuTest : public PopupFixture {
protected:
    void SetUp() override {
        PopupFixture::SetUp();
        library.Write("表情/a.png", "not read");
        library.Write("表情/b.png", "not read");
        library.Write("表情/晚安.txt", "good night");
        // A long folder row makes the popup wider than its row of pictures: empty space.
        library.MakeFolder("表情/一个名字很长很长的子文件夹");
        folder = Folder("表情", 0, 0);
        Open(folder, 10, 30);
        menu->show();
    }
    FolderPopup& Menu() const { return entryMenu->menuPopup(); }
    QStringList MenuRows() const {
        QStringList rows;
        for (int i = 0; i < Menu().view().cellCount(); ++i)
            rows << Menu().view().cell(i).caption;
        return rows;
    }
    void RightClick(QPoint point) {
        QTest::mouseClick(&View(), Qt::RightButton, Qt::NoModifier, point);
    }
    void Choose(const QString& row) {
        const int index = static_cast<int>(MenuRows().indexOf(row));
        ASSERT_GE(index, 0) << row.toStdString();
        QTest::mouseClick(&Menu().view(), Qt::LeftButton, Qt::NoModifier,
                          Menu().view().cellRect(index).center());
    }
    QPoint EmptySpace() const { return {View().width() - 3, View().height() - 3}; }
    LibraryNode* folder = nullptr;
};

TEST_F(EntryMenuTest, AnEntryOffersRenameTrashAndShowTheFolderEmptySpacePasteAndNewFolder) {
    RightClick(View().cellRect(2).center()); // a.png
    ASSERT_TRUE(Menu().isVisible());
    EXPECT_EQ(MenuRows(), QStringList({"重命名…", "移到回收站", "在文件夹中显示"}));
    EXPECT_TRUE(menu->isVisible()) << "the folder's popup stays";

    ASSERT_EQ(View().cellAt(EmptySpace()), -1);
    RightClick(EmptySpace());
    EXPECT_EQ(MenuRows(), QStringList({"粘贴到此文件夹", "新建文件夹"}));
    menu->hide();
    EXPECT_FALSE(Menu().isVisible()) << "the menu goes with the popups";

    Open(systemNode(), 10, 30);
    menu->show();
    RightClick(View().cellRect(0).center());
    EXPECT_FALSE(Menu().isVisible()) << "commands have no menu";
}

TEST_F(EntryMenuTest, MoveToTrashLeavesAnInfoFileAndTheRowGoes) {
    RightClick(View().cellRect(2).center()); // a.png
    Choose("移到回收站");
    EXPECT_FALSE(Menu().isVisible());
    EXPECT_EQ(home.Read("data/Trash/files/a.png"), "not read");
    EXPECT_TRUE(home.Read("data/Trash/info/a.png.trashinfo")
                    .contains("Path=" + QUrl::toPercentEncoding(library / "表情/a.png", "/")));
    QStringList captions;
    for (int i = 0; i < View().cellCount(); ++i)
        captions << View().cell(i).caption;
    EXPECT_EQ(captions, QStringList({"一个名字很长很长的子文件夹", "晚安", "b.png"}))
        << "the popup shows the change";
}

TEST_F(EntryMenuTest, PasteIntoFolderTakesAPictureOrTextFromTheClipboard) {
    QGuiApplication::clipboard()->setImage(TestPattern(QSize(30, 20)));
    RightClick(EmptySpace());
    Choose("粘贴到此文件夹");
    QStringList pictures = QDir(library / "表情").entryList({"图片 *.png"});
    ASSERT_EQ(pictures.size(), 1) << library.Names("表情").join(' ').toStdString();
    EXPECT_EQ(QImage(library / ("表情/" + pictures.first())).size(), QSize(30, 20));

    QGuiApplication::clipboard()->setText("你好，世界\nsecond line");
    RightClick(EmptySpace());
    Choose("粘贴到此文件夹");
    // Named from its first 16 characters, on one line.
    EXPECT_EQ(library.Read("表情/你好，世界 second lin.txt"),
              QString("你好，世界\nsecond line").toUtf8());
    EXPECT_EQ(readTextLines(library / "表情/Order.ini").last(), "你好，世界 second lin.txt");
}

TEST_F(EntryMenuTest, NewFolderNeverTakesATakenName) {
    RightClick(EmptySpace());
    Choose("新建文件夹");
    RightClick(EmptySpace());
    Choose("新建文件夹");
    EXPECT_TRUE(isDirectoryItself(library / "表情/新建文件夹"));
    EXPECT_TRUE(isDirectoryItself(library / "表情/新建文件夹 (2)"));
}

// 重命名… closes the popups, asks for the name, and renames without replacing anything.
TEST_F(EntryMenuTest, RenameAsksForTheNameAndKeepsThePlace) {
    RightClick(View().cellRect(1).center()); // the snippet 晚安
    // Answers the dialog once it runs (in its own event loop, after the menu's handler).
    QString asked;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            answer.stop();
            asked = dialog->textValue();
            dialog->setTextValue("好梦");
            dialog->accept();
        }
    });
    answer.start(20);
    Choose("重命名…");
    EXPECT_FALSE(menu->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return library.Names("表情").contains("好梦.txt"); }, 3000));
    EXPECT_EQ(asked, "晚安");
    EXPECT_EQ(library.Read("表情/好梦.txt"), "good night");
    EXPECT_FALSE(library.Names("表情").contains("晚安.txt"));
}
} // namespace
