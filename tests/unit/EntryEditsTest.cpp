#include "library/EntryEdits.h"

#include "base/TextCodec.h"
#include "library/FolderScan.h"
#include "library/LibraryNode.h"
#include "platform/FileSystem.h"
#include "support/TempTree.h"

#include <QDateTime>
#include <QUrl>

#include <gtest/gtest.h>

namespace {
class EntryEdits : public ::testing::Test {
protected:
    void SetUp() override {
        library.Write("表情/a.png", "A");
        library.Write("表情/a.png.thb", "thumb");
        library.Write("表情/b.png", "B");
        library.Write("表情/晚安.txt", "good night");
        library.MakeFolder("表情/sub");
        writeUnicodeLines(library / "表情/Order.ini", {"b.png", "晚安.txt", "a.png", "sub"});
        Rescan();
    }
    void Rescan() {
        folder = std::make_unique<LibraryNode>(QString(), library / "表情", NodeKind::Folder);
        loadFolderItems(folder.get());
    }
    QStringList Order() const { return readTextLines(library / "表情/Order.ini"); }

    TempTree library;
    TempTree home;
    std::unique_ptr<LibraryNode> folder;
    const QDateTime now{QDate(2026, 12, 11), QTime(8, 30, 5)};
};

// The file goes into the Trash with an info file a file manager can put it back from; its
// line leaves Order.ini; a second file of the same name gets its own name in the Trash.
TEST_F(EntryEdits, MoveToTrashKeepsWhatAFileManagerNeedsToRestore) {
    const QString trash = home / "data/Trash";
    std::optional<FileError> error;
    QString trashedAs;
    ASSERT_TRUE(moveToTrash(folder.get(), library / "表情/a.png", trash, now, &error, &trashedAs))
        << (error ? error->what() : "");
    EXPECT_EQ(trashedAs, trash + "/files/a.png");
    EXPECT_EQ(home.Read("data/Trash/files/a.png"), "A");
    EXPECT_EQ(home.Read("data/Trash/info/a.png.trashinfo"),
              "[Trash Info]\nPath=" + QUrl::toPercentEncoding(library / "表情/a.png", "/") +
                  "\nDeletionDate=2026-12-11T08:30:05\n");
    EXPECT_EQ(Order(), QStringList({"b.png", "晚安.txt", "sub"}));
    EXPECT_FALSE(library.Names("表情").contains("a.png.thb")) << "no thumbnail outlives it";

    library.Write("表情/a.png", "A again");
    Rescan();
    ASSERT_TRUE(moveToTrash(folder.get(), library / "表情/a.png", trash, now, &error, &trashedAs));
    EXPECT_EQ(trashedAs, trash + "/files/a (2).png");
    EXPECT_EQ(home.Names("data/Trash/info"),
              QStringList({"a (2).png.trashinfo", "a.png.trashinfo"}));

    ASSERT_TRUE(moveToTrash(folder.get(), library / "表情/sub", trash, now, &error, &trashedAs));
    EXPECT_TRUE(isDirectoryItself(trash + "/files/sub"));
}

TEST(TrashInfo, PathIsPercentEncodedWithItsSlashes) {
    const QDateTime now(QDate(2026, 1, 2), QTime(3, 4, 5));
    EXPECT_EQ(trashInfo("/home/u/数据/a b%.png", now),
              "[Trash Info]\nPath=/home/u/%E6%95%B0%E6%8D%AE/a%20b%25.png\n"
              "DeletionDate=2026-01-02T03:04:05\n");
}

TEST_F(EntryEdits, ATrashThatCannotBeMadeKeepsTheFile) {
    home.Write("data", "a file where the Trash's folder would go");
    std::optional<FileError> error;
    EXPECT_FALSE(
        moveToTrash(folder.get(), library / "表情/b.png", home / "data/Trash", now, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(library.Read("表情/b.png"), "B");
    EXPECT_EQ(Order(), QStringList({"b.png", "晚安.txt", "a.png", "sub"}));
}

// A snippet is renamed by its caption, a picture keeps its extension; the Order.ini line and
// the thumbnail follow; a taken or unsafe name changes nothing.
TEST_F(EntryEdits, RenameKeepsThePlaceAndRefusesTakenOrUnsafeNames) {
    const struct {
        const char* path;
        const char* name;
        const char* file;
    } names[] = {{"晚安.txt", "好梦", "好梦.txt"},
                 {"a.png", "猫", "猫.png"},
                 {"a.png", "猫.gif", "猫.gif"},
                 {"sub", "旅行", "旅行"}};
    for (const auto& n : names)
        EXPECT_EQ(renamedFileName(library / ("表情/" + QString::fromUtf8(n.path)),
                                  QString::fromUtf8(n.name)),
                  QString::fromUtf8(n.file))
            << n.path << " -> " << n.name;

    std::optional<FileError> error;
    QString renamedTo;
    ASSERT_TRUE(renameEntry(folder.get(), library / "表情/a.png", "猫", &error, &renamedTo));
    EXPECT_EQ(renamedTo, library / "表情/猫.png");
    EXPECT_EQ(Order(), QStringList({"b.png", "晚安.txt", "猫.png", "sub"}));
    EXPECT_EQ(library.Read("表情/猫.png.thb"), "thumb");

    for (const char* bad : {"", ".", "..", "a/b", "b"}) {
        error.reset();
        EXPECT_FALSE(
            renameEntry(folder.get(), library / "表情/猫.png", QString::fromUtf8(bad), &error))
            << bad;
        EXPECT_TRUE(error) << bad;
    }
    EXPECT_EQ(library.Read("表情/b.png"), "B") << "a taken name is never replaced";
    EXPECT_EQ(library.Read("表情/猫.png"), "A");
    EXPECT_EQ(Order(), QStringList({"b.png", "晚安.txt", "猫.png", "sub"}));
}
} // namespace
