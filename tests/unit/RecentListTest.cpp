#include "library/RecentList.h"
#include "platform/FileSystem.h"
#include "support/TempTree.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {
TEST(RecentList, NewestFirstEachOnceAtMostForty) {
    TempTree tree;
    RecentList recent(tree / "config/recent.txt");
    for (int i = 0; i < 45; ++i)
        recent.add(tree / QString("p%1.gif").arg(i));
    recent.add(tree / "p40.gif");
    ASSERT_EQ(recent.paths().size(), RecentList::Capacity);
    EXPECT_EQ(recent.paths().first(), tree / "p40.gif");
    EXPECT_EQ(recent.paths()[1], tree / "p44.gif");
    EXPECT_EQ(recent.paths().count(tree / "p40.gif"), 1);
    EXPECT_FALSE(recent.paths().contains(tree / "p4.gif")) << "the oldest went";

    RecentList again(tree / "config/recent.txt"); // the next start
    again.load();
    EXPECT_EQ(again.paths(), recent.paths());
    EXPECT_TRUE(tree.Read("config/recent.txt").startsWith("jolvex-recent 1\n"));
}

TEST(RecentList, ADamagedOrForeignFileReadsAsEmpty) {
    TempTree tree;
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"empty", ""},
        {"another program's", "[Recent]\n/a/b.gif\n"},
        {"not UTF-8", QByteArray("jolvex-recent 1\n/a/\xff\xfe.gif\n")},
        {"binary", QByteArray("\x00\x01\x02", 3)},
    };
    for (const auto& c : cases) {
        tree.Write("recent.txt", c.bytes);
        RecentList recent(tree / "recent.txt");
        recent.load();
        EXPECT_TRUE(recent.paths().isEmpty()) << c.what;
    }
    tree.Write("recent.txt", "jolvex-recent 1\nrelative.gif\n/a/x.gif\n/a/x.gif\n");
    RecentList recent(tree / "recent.txt");
    recent.load();
    EXPECT_EQ(recent.paths(), QStringList{"/a/x.gif"})
        << "relative and repeated lines are left out";
    RecentList missing(tree / "none.txt");
    missing.load();
    EXPECT_TRUE(missing.paths().isEmpty());
}

TEST(RecentList, GoneFilesDropOutAndMovedOnesFollow) {
    TempTree tree;
    tree.Write("a/x.gif", "x");
    tree.Write("a/sub/y.txt", "y");
    tree.Write("b/z.png", "z");
    RecentList recent(tree / "recent.txt");
    recent.add(tree / "b/z.png");
    recent.add(tree / "a/sub/y.txt");
    recent.add(tree / "a/x.gif");
    recent.add(tree / "a/x\n.gif"); // not kept

    recent.pathMoved(tree / "a/sub", tree / "c/sub");
    recent.pathMoved(tree / "b/z", tree / "elsewhere"); // "b/z" is not "b/z.png"
    EXPECT_EQ(recent.paths(),
              (QStringList{tree / "a/x.gif", tree / "c/sub/y.txt", tree / "b/z.png"}));

    QFile::remove(tree / "a/x.gif");
    EXPECT_EQ(recent.dropMissing(), QStringList{tree / "b/z.png"}) << "c/sub/y.txt is not there";
    RecentList again(tree / "recent.txt");
    again.load();
    EXPECT_EQ(again.paths(), QStringList{tree / "b/z.png"}) << "what dropped out was saved";

    recent.clear();
    again.load();
    EXPECT_TRUE(again.paths().isEmpty());
}

TEST(RecentList, AnUnwritableFileIsAnErrorAndTheListStays) {
    TempTree tree;
    tree.MakeFolder("recent.txt"); // a folder where the file belongs
    RecentList recent(tree / "recent.txt");
    EXPECT_THROW(recent.add("/a/x.gif"), FileError);
    EXPECT_EQ(recent.paths(), QStringList{"/a/x.gif"});
}
} // namespace
