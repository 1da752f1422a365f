#include "library/EntryDrop.h"

#include "base/TextCodec.h"
#include "library/FolderScan.h"
#include "library/LibraryNode.h"
#include "platform/FileSystem.h"
#include "support/TempTree.h"
#include "thumbnails/ThumbnailCache.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {
// A folder node of `tree` scanned from disk.
std::unique_ptr<LibraryNode> Scanned(const QString& path) {
    auto node = std::make_unique<LibraryNode>(QString(), path, NodeKind::Folder);
    loadFolderItems(node.get());
    return node;
}

LibraryNode* Child(LibraryNode* node, const QString& caption) {
    for (int i = 0; i < node->childCount(); ++i)
        if (node->child(i)->caption() == caption)
            return node->child(i);
    return nullptr;
}

QStringList Captions(const LibraryNode* node) {
    QStringList captions;
    for (int i = 0; i < node->childCount(); ++i)
        captions << node->child(i)->caption();
    return captions;
}

TEST(EntryDrop, WhatTakesADrop) {
    TempTree tree;
    tree.MakeFolder("ab/inner");
    tree.MakeFolder("abc");
    tree.Write("ab/inner/x.gif");
    tree.Write("p.gif");
    auto top = Scanned(tree.Path());
    LibraryNode* ab = Child(top.get(), "ab");
    LibraryNode* abc = Child(top.get(), "abc");
    auto inside = Scanned(tree / "ab/inner");
    const QString dragAb = tree / "ab";
    EXPECT_FALSE(acceptsDrop(dragAb, top.get(), ab)) << "onto itself";
    EXPECT_FALSE(acceptsDrop(dragAb, inside.get(), Child(inside.get(), "x.gif"))) << "inside it";
    EXPECT_FALSE(acceptsDrop(dragAb, inside.get(), nullptr)) << "a placeholder inside it";
    EXPECT_TRUE(acceptsDrop(dragAb, top.get(), abc)) << "a sibling whose name starts alike";
    EXPECT_TRUE(acceptsDrop(tree / "p.gif", top.get(), ab));
    LibraryNode command(QStringLiteral("退出"), QString(), NodeKind::Command);
    LibraryNode separator(QStringLiteral("-"), QString(), NodeKind::Separator);
    EXPECT_FALSE(acceptsDrop(tree / "p.gif", top.get(), &command));
    EXPECT_FALSE(acceptsDrop(tree / "p.gif", top.get(), &separator));
}

TEST(EntryDrop, InTheSameFolderTheEntryTakesTheTargetsPlace) {
    TempTree tree;
    for (const char* name : {"a.gif", "b.gif", "c.gif", "d.gif"})
        tree.Write(name);
    auto folder = Scanned(tree.Path());
    std::optional<FileError> error;
    // Dragged down it lands after the target, dragged up before it.
    EXPECT_EQ(dropEntry(tree / "a.gif", folder.get(), Child(folder.get(), "c.gif"), &error),
              DropResult::Reordered);
    EXPECT_EQ(Captions(folder.get()), (QStringList{"b.gif", "c.gif", "a.gif", "d.gif"}));
    EXPECT_EQ(tree.Read("Order.ini"), Utf16LeLines({"b.gif", "c.gif", "a.gif", "d.gif"}));
    EXPECT_EQ(dropEntry(tree / "d.gif", folder.get(), Child(folder.get(), "b.gif"), &error),
              DropResult::Reordered);
    EXPECT_EQ(tree.Read("Order.ini"), Utf16LeLines({"d.gif", "b.gif", "c.gif", "a.gif"}));
}

TEST(EntryDrop, IntoAnotherFolderItMovesAndStandsBeforeTheTarget) {
    TempTree tree;
    tree.Write("from/p.gif", "moved");
    tree.Write("to/x.gif");
    tree.Write("to/y.gif");
    tree.Write("to/p.gif", "already there");
    auto target = Scanned(tree / "to");
    std::optional<FileError> error;
    EXPECT_EQ(dropEntry(tree / "from/p.gif", target.get(), Child(target.get(), "y.gif"), &error),
              DropResult::Moved);
    EXPECT_EQ(tree.Read("to/p (2).gif"), "moved") << "a taken name gets a free one";
    EXPECT_EQ(tree.Read("to/p.gif"), "already there");
    EXPECT_EQ(tree.Read("to/Order.ini"), Utf16LeLines({"p.gif", "x.gif", "p (2).gif", "y.gif"}));
    EXPECT_FALSE(QFile::exists(tree / "from/p.gif"));

    // The placeholder of an empty folder: moved there, its Order.ini lists no names.
    tree.MakeFolder("empty");
    auto empty = Scanned(tree / "empty");
    EXPECT_EQ(dropEntry(tree / "to/x.gif", empty.get(), nullptr, &error), DropResult::Moved);
    EXPECT_TRUE(QFile::exists(tree / "empty/x.gif"));
    EXPECT_EQ(tree.Read("empty/Order.ini"), QByteArray("\xFF\xFE", 2));
}

TEST(EntryDrop, AFailedMoveIsReportedAndLosesNothing) {
    TempTree tree;
    tree.Write("from/p.gif", "keep");
    tree.MakeFolder("to");
    auto target = Scanned(tree / "to");
    QDir(tree / "to").removeRecursively(); // the folder went away while its popup was open
    std::optional<FileError> error;
    const DropResult result = dropEntry(tree / "from/p.gif", target.get(), nullptr, &error);
    EXPECT_EQ(result, DropResult::Failed);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->problem(), FileProblem::MoveFailed);
    EXPECT_EQ(tree.Read("from/p.gif"), "keep");
    EXPECT_FALSE(QFile::exists(tree / "to/Order.ini"));
}

// A moved picture takes its thumbnail along. Two pictures of one name and one file time (as
// unpacked from one archive) trade folders: each then shows its own thumbnail, and no .thb is
// left behind.
TEST(EntryDrop, AMovedPictureTakesItsThumbnailAlong) {
    TempTree tree;
    QImage red(30, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    QImage blue = red;
    blue.fill(Qt::blue);
    tree.MakeFolder("图片");
    ASSERT_TRUE(red.save(tree / "图片/x.png"));
    tree.MakeFolder("文字");
    ASSERT_TRUE(blue.save(tree / "文字/x.png"));
    tree.Write("文字/a.txt", "a");
    const std::int64_t sameTime = *fileWriteTime(tree / "图片/x.png");
    ASSERT_TRUE(setFileWriteTime(tree / "文字/x.png", sameTime));
    ThumbnailCache cache;
    ASSERT_EQ(cache.thumbnail(tree / "图片/x.png").pixel(5, 5), qRgb(255, 0, 0));
    ASSERT_EQ(cache.thumbnail(tree / "文字/x.png").pixel(5, 5), qRgb(0, 0, 255));

    std::optional<FileError> error;
    auto words = Scanned(tree / "文字");
    ASSERT_EQ(dropEntry(tree / "图片/x.png", words.get(), Child(words.get(), "a.txt"), &error),
              DropResult::Moved);
    cache.forget(tree / "图片/x.png"); // as the popup does after a move
    EXPECT_FALSE(QFile::exists(tree / "图片/x.png.thb")) << "the thumbnail stayed behind";
    EXPECT_TRUE(QFile::exists(tree / "文字/x (2).png.thb"));
    EXPECT_EQ(*fileWriteTime(tree / "文字/x (2).png.thb"), sameTime);
    auto pictures = Scanned(tree / "图片");
    ASSERT_EQ(dropEntry(tree / "文字/x.png", pictures.get(), nullptr, &error), DropResult::Moved);
    cache.forget(tree / "文字/x.png");
    EXPECT_EQ(cache.thumbnail(tree / "图片/x.png").pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(cache.thumbnail(tree / "文字/x (2).png").pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(cache.counters().pictureDecodes.load(), 2) << "a thumbnail was made again";
    EXPECT_EQ(tree.Names("文字"),
              (QStringList{"Order.ini", "a.txt", "x (2).png", "x (2).png.thb"}));
}

// Where the thumbnail cannot follow it is deleted, never put over another file; what is no
// plain file is left alone; a folder keeps the thumbnails inside it.
TEST(EntryDrop, AThumbnailThatCannotFollowIsDeleted) {
    TempTree tree;
    tree.Write("from/p.gif", "picture");
    tree.Write("from/p.gif.thb", "its thumbnail");
    tree.Write("to/p.gif.thb", "somebody's file");
    auto target = Scanned(tree / "to");
    std::optional<FileError> error;
    ASSERT_EQ(dropEntry(tree / "from/p.gif", target.get(), nullptr, &error), DropResult::Moved);
    EXPECT_EQ(tree.Read("to/p.gif"), "picture");
    EXPECT_EQ(tree.Read("to/p.gif.thb"), "somebody's file");
    EXPECT_FALSE(QFile::exists(tree / "from/p.gif.thb"));

    tree.Write("from/q.gif", "picture");
    tree.MakeFolder("from/q.gif.thb"); // a folder of that name is the user's
    ASSERT_EQ(dropEntry(tree / "from/q.gif", target.get(), nullptr, &error), DropResult::Moved);
    EXPECT_TRUE(QDir(tree / "from/q.gif.thb").exists());
    EXPECT_FALSE(QFile::exists(tree / "to/q.gif.thb"));

    tree.Write("from/sub/r.gif", "picture");
    tree.Write("from/sub/r.gif.thb", "thumbnail");
    tree.Write("from/sub.thb", "not a picture's");
    ASSERT_EQ(dropEntry(tree / "from/sub", target.get(), nullptr, &error), DropResult::Moved);
    EXPECT_EQ(tree.Read("to/sub/r.gif.thb"), "thumbnail");
    EXPECT_EQ(tree.Read("from/sub.thb"), "not a picture's") << "a folder has no thumbnail";
}
} // namespace
