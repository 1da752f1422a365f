#include "library/FolderScan.h"

#include "base/NameCompare.h"
#include "library/LibraryNode.h"
#include "platform/FileSystem.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

namespace {
QStringList Captions(const LibraryNode& node) {
    QStringList captions;
    for (int i = 0; i < node.childCount(); ++i)
        captions << node.child(i)->caption();
    return captions;
}

QList<NodeKind> Kinds(const LibraryNode& node) {
    QList<NodeKind> kinds;
    for (int i = 0; i < node.childCount(); ++i)
        kinds << node.child(i)->kind();
    return kinds;
}

TEST(loadFolderItems, GroupsFoldersThenTextsThenPicturesInNameOrder) {
    TempTree tree;
    for (const char* name :
         {"b.gif", "A.TXT", "a.png", "c.txt", "readme", "z.jpeg", "m.TxT", "Order.ini"})
        tree.Write(name, "x");
    tree.Write("Order.ini", "nothing here\r\n");
    tree.MakeFolder("sub");
    tree.MakeFolder("other");

    LibraryNode node("", tree.Path(), NodeKind::Folder);
    loadFolderItems(&node);

    EXPECT_EQ(Captions(node),
              (QStringList{"other", "sub", "A", "c", "m", "a.png", "b.gif", "z.jpeg"}));
    EXPECT_EQ(Kinds(node),
              (QList<NodeKind>{NodeKind::Folder, NodeKind::Folder, NodeKind::Text, NodeKind::Text,
                               NodeKind::Text, NodeKind::Image, NodeKind::Image, NodeKind::Image}));
    for (int i = 0; i < node.childCount(); ++i) {
        EXPECT_EQ(node.child(i)->parent(), &node);
        EXPECT_TRUE(node.child(i)->path().startsWith(tree.Path() + "/"));
    }
    EXPECT_EQ(tree.Read("Order.ini"), QByteArray("\xFF\xFE", 2)); // the stale line was pruned
}

TEST(loadFolderItems, NamesAndAttributesDecideTheKind) {
    struct Case {
        const char* name;
        bool folder;
        bool readOnly;
        std::optional<NodeKind> kind; // empty: not listed
        const char* caption;
    };
    const Case cases[] = {
        {"notes.TxT", false, false, NodeKind::Text, "notes"},
        {"x.tar.gif", false, false, NodeKind::Image, "x.tar.gif"},
        {".txt", false, false, NodeKind::Text, ""},
        {"a.b.txt", false, false, NodeKind::Text, "a.b"},
        {"readme", false, false, std::nullopt, nullptr},
        {"photo.jpe", false, false, std::nullopt, nullptr},
        {"smile.gif.thb", false, false, std::nullopt, nullptr},
        {".hidden.png", false, false, NodeKind::Image, ".hidden.png"},
        {"locked", true, true, std::nullopt, nullptr},   // a folder with another bit is no folder
        {"pack.gif", true, true, std::nullopt, nullptr}, // ... nor a picture: nothing to read
        {".secret", true, false, std::nullopt, nullptr},
    };
    for (const Case& c : cases) {
        TempTree tree;
        if (c.folder)
            tree.MakeFolder(c.name);
        else
            tree.Write(c.name, "x");
        if (c.readOnly)
            tree.SetReadOnly(c.name, true);
        LibraryNode node("", tree.Path(), NodeKind::Folder);
        loadFolderItems(&node);
        if (!c.kind) {
            EXPECT_EQ(node.childCount(), 0) << c.name;
            continue;
        }
        ASSERT_EQ(node.childCount(), 1) << c.name;
        EXPECT_EQ(node.child(0)->kind(), *c.kind) << c.name;
        EXPECT_EQ(node.child(0)->caption(), QString::fromUtf8(c.caption)) << c.name;
        EXPECT_EQ(node.child(0)->path(), tree / c.name);
    }
}

TEST(loadFolderItems, MissingFolderGivesNoChildren) {
    TempTree tree;
    LibraryNode node("", tree / "gone", NodeKind::Folder);
    loadFolderItems(&node);
    EXPECT_EQ(node.childCount(), 0);
}

class TopFolders : public ::testing::Test {
protected:
    TopFolders() : root("", tree.Path(), NodeKind::Command) {
        systemNode = root.addChild(QString::fromUtf8("系统"), "", NodeKind::Command);
        systemNode->addChild("退出", "", NodeKind::Command);
    }
    TempTree tree;
    LibraryNode root;
    LibraryNode* systemNode;
};

TEST_F(TopFolders, OnlyPlainFoldersBecomeLabelsAfterTheSystemNode) {
    tree.MakeFolder(QString::fromUtf8("表情"));
    tree.MakeFolder("locked");
    tree.SetReadOnly("locked", true);
    tree.Write("loose.gif", "x");
    tree.Write("note.txt", "x");

    loadTopFolders(&root);
    EXPECT_EQ(Captions(root), (QStringList{QString::fromUtf8("系统"), QString::fromUtf8("表情")}));
    EXPECT_EQ(root.child(0), systemNode);
    EXPECT_EQ(systemNode->childCount(), 1);

    loadTopFolders(&root); // a rebuild gives the same tree
    EXPECT_EQ(Captions(root), (QStringList{QString::fromUtf8("系统"), QString::fromUtf8("表情")}));
    EXPECT_EQ(root.child(0), systemNode);
}

TEST_F(TopFolders, EmptyDataFolderLeavesOnlyTheSystemNode) {
    loadTopFolders(&root);
    EXPECT_EQ(Captions(root), QStringList{QString::fromUtf8("系统")});
}

TEST_F(TopFolders, RootOrderFileOrdersFoldersAndAnEmptyLineCannotMoveSystem) {
    for (const char* name : {"a", "b", "c"})
        tree.MakeFolder(name);
    tree.Write("Order.ini", Utf16LeLines({"c", "", "a", "gone"}));

    loadTopFolders(&root);
    EXPECT_EQ(Captions(root), (QStringList{QString::fromUtf8("系统"), "c", "a", "b"}));
    // The stale line went; the empty line named the System node and stays.
    EXPECT_EQ(tree.Read("Order.ini"), Utf16LeLines({"c", "", "a"}));
}

TEST_F(TopFolders, OrderFileThatCannotBeWrittenBackReportsAndKeepsSystemFirst) {
    for (const char* name : {"a", "b"})
        tree.MakeFolder(name);
    tree.Write("Order.ini", Utf16LeLines({"", "b", "gone"}));
    tree.SetReadOnly("Order.ini", true);

    EXPECT_THROW(loadTopFolders(&root), FileError);
    EXPECT_EQ(root.child(0), systemNode);
    EXPECT_EQ(Captions(root), (QStringList{QString::fromUtf8("系统"), "b", "a"}));
    EXPECT_EQ(tree.Read("Order.ini"), Utf16LeLines({"", "b", "gone"}));
}
TEST(loadTopFolders, FoldersComeInNameOrderWhateverTheFileSystemsOrder) {
    TempTree tree;
    const QStringList created{"beta", "文字", "动物", "表情", "zeta", "Gamma", "Alpha"};
    for (const QString& name : created)
        tree.MakeFolder(name);
    LibraryNode root("", tree.Path(), NodeKind::Command);
    root.addChild(QString::fromUtf8("系统"), "", NodeKind::Command);
    loadTopFolders(&root);
    EXPECT_EQ(Captions(root), (QStringList{QString::fromUtf8("系统"), "Alpha", "beta", "Gamma",
                                           "zeta", "动物", "文字", "表情"}));
}

TEST(loadFolderItems, OnlyRegularFilesArePicturesOrSnippets) {
    TempTree tree;
    tree.Write("real.gif", "x");
    tree.Write("note.txt", "x");
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree / "管.gif").constData(), 0644), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree / "pipe.txt").constData(), 0644), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", tree / "zero.png"));
    ASSERT_TRUE(QFile::link(tree / "real.gif", tree / "alias.gif"));
    LibraryNode node("", tree.Path(), NodeKind::Folder);
    loadFolderItems(&node);
    EXPECT_EQ(Captions(node), (QStringList{"note", "alias.gif", "real.gif"}));
    EXPECT_THROW(readWholeFile(tree / "管.gif"), FileError) << "a pipe is never read";
    EXPECT_THROW(readWholeFile(tree / "zero.png"), FileError) << "nor a device";
}

TEST(loadFolderItems, NamesThatAreNotValidUtf8AreLeftOut) {
    TempTree tree;
    tree.Write("good.gif", "x");
    // "表情" in GBK, as an old unpacking tool leaves it.
    const QByteArray gbk = QFile::encodeName(tree.Path()) + "/\xb1\xed\xc7\xe9.gif";
    const int fd = ::open(gbk.constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    LibraryNode node("", tree.Path(), NodeKind::Folder);
    loadFolderItems(&node);
    EXPECT_EQ(Captions(node), QStringList{"good.gif"});
}
} // namespace
