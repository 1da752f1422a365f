#include "library/FolderScan.h"

#include "library/NameCompare.h"
#include "library/TMenuItem.h"
#include "platform/FileSystem.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

namespace {
QStringList Captions(const TMenuItem& node) {
    QStringList captions;
    for (int i = 0; i < node.Count(); ++i)
        captions << node.Items(i)->Caption;
    return captions;
}

QList<int> Kinds(const TMenuItem& node) {
    QList<int> kinds;
    for (int i = 0; i < node.Count(); ++i)
        kinds << node.Items(i)->ImageIndex;
    return kinds;
}

// The names in `folder` that pass `keep`, in the order the file system returns them.
QStringList EnumerationOrder(const QString& folder, const QStringList& keep) {
    QStringList names;
    for (const DirEntry& entry : EnumerateDirectory(folder))
        if (keep.contains(entry.name))
            names << entry.name;
    return names;
}

TEST(LoadFolderItems, GroupsFoldersThenTextsThenPicturesInEnumerationOrder) {
    TempTree tree;
    for (const char* name :
         {"b.gif", "A.TXT", "a.png", "c.txt", "readme", "z.jpeg", "m.TxT", "Order.ini"})
        tree.Write(name, "x");
    tree.Write("Order.ini", "nothing here\r\n");
    tree.MakeFolder("sub");
    tree.MakeFolder("other");

    TMenuItem node("", tree.Path(), ikFolder);
    LoadFolderItems(&node);

    QStringList expected = EnumerationOrder(tree.Path(), {"sub", "other"});
    for (const QString& text : EnumerationOrder(tree.Path(), {"A.TXT", "c.txt", "m.TxT"}))
        expected << text.left(text.lastIndexOf('.'));
    expected << EnumerationOrder(tree.Path(), {"b.gif", "a.png", "z.jpeg"});
    EXPECT_EQ(Captions(node), expected);
    EXPECT_EQ(Kinds(node),
              (QList<int>{ikFolder, ikFolder, ikText, ikText, ikText, ikImage, ikImage, ikImage}));
    for (int i = 0; i < node.Count(); ++i) {
        EXPECT_EQ(node.Items(i)->Parent(), &node);
        EXPECT_TRUE(node.Items(i)->Hint.startsWith(tree.Path() + "/"));
    }
    EXPECT_EQ(tree.Read("Order.ini"), QByteArray("\xFF\xFE", 2)); // the stale line was pruned
}

TEST(LoadFolderItems, NamesAndAttributesDecideTheKind) {
    struct Case {
        const char* name;
        bool folder;
        bool readOnly;
        int kind; // 0: not listed
        const char* caption;
    };
    const Case cases[] = {
        {"notes.TxT", false, false, ikText, "notes"},
        {"x.tar.gif", false, false, ikImage, "x.tar.gif"},
        {".txt", false, false, ikText, ""},
        {"a.b.txt", false, false, ikText, "a.b"},
        {"readme", false, false, 0, nullptr},
        {"photo.jpe", false, false, 0, nullptr},
        {"smile.gif.thb", false, false, 0, nullptr},
        {".hidden.png", false, false, ikImage, ".hidden.png"},
        {"locked", true, true, 0, nullptr},            // a folder with another bit is no folder
        {"pack.gif", true, true, ikImage, "pack.gif"}, // ... and goes through the file branch
        {".secret", true, false, 0, nullptr},
    };
    for (const Case& c : cases) {
        TempTree tree;
        if (c.folder)
            tree.MakeFolder(c.name);
        else
            tree.Write(c.name, "x");
        if (c.readOnly)
            tree.SetReadOnly(c.name, true);
        TMenuItem node("", tree.Path(), ikFolder);
        LoadFolderItems(&node);
        if (c.kind == 0) {
            EXPECT_EQ(node.Count(), 0) << c.name;
            continue;
        }
        ASSERT_EQ(node.Count(), 1) << c.name;
        EXPECT_EQ(node.Items(0)->ImageIndex, c.kind) << c.name;
        EXPECT_EQ(node.Items(0)->Caption, QString::fromUtf8(c.caption)) << c.name;
        EXPECT_EQ(node.Items(0)->Hint, tree / c.name);
    }
}

TEST(LoadFolderItems, MissingFolderGivesNoChildren) {
    TempTree tree;
    TMenuItem node("", tree / "gone", ikFolder);
    LoadFolderItems(&node);
    EXPECT_EQ(node.Count(), 0);
}

class TopFolders : public ::testing::Test {
protected:
    TopFolders() : root("", tree.Path(), ikCommand) {
        systemNode = root.Add(QString::fromUtf8("系统"), "", ikCommand);
        systemNode->Add("退出", "", ikCommand);
    }
    TempTree tree;
    TMenuItem root;
    TMenuItem* systemNode;
};

TEST_F(TopFolders, OnlyPlainFoldersBecomeLabelsAfterTheSystemNode) {
    tree.MakeFolder(QString::fromUtf8("表情"));
    tree.MakeFolder("locked");
    tree.SetReadOnly("locked", true);
    tree.Write("loose.gif", "x");
    tree.Write("note.txt", "x");

    LoadTopFolders(&root);
    EXPECT_EQ(Captions(root), (QStringList{QString::fromUtf8("系统"), QString::fromUtf8("表情")}));
    EXPECT_EQ(root.Items(0), systemNode);
    EXPECT_EQ(systemNode->Count(), 1);

    LoadTopFolders(&root); // a rebuild gives the same tree
    EXPECT_EQ(Captions(root), (QStringList{QString::fromUtf8("系统"), QString::fromUtf8("表情")}));
    EXPECT_EQ(root.Items(0), systemNode);
}

TEST_F(TopFolders, EmptyDataFolderLeavesOnlyTheSystemNode) {
    LoadTopFolders(&root);
    EXPECT_EQ(Captions(root), QStringList{QString::fromUtf8("系统")});
}

TEST_F(TopFolders, RootOrderFileOrdersFoldersAndAnEmptyLineCannotMoveSystem) {
    for (const char* name : {"a", "b", "c"})
        tree.MakeFolder(name);
    tree.Write("Order.ini", Utf16LeLines({"c", "", "a", "gone"}));

    LoadTopFolders(&root);
    EXPECT_EQ(Captions(root), (QStringList{QString::fromUtf8("系统"), "c", "a", "b"}));
    // The stale line went; the empty line named the System node and stays.
    EXPECT_EQ(tree.Read("Order.ini"), Utf16LeLines({"c", "", "a"}));
}

TEST_F(TopFolders, OrderFileThatCannotBeWrittenBackReportsAndKeepsSystemFirst) {
    for (const char* name : {"a", "b"})
        tree.MakeFolder(name);
    tree.Write("Order.ini", Utf16LeLines({"", "b", "gone"}));
    tree.SetReadOnly("Order.ini", true);

    EXPECT_THROW(LoadTopFolders(&root), FileError);
    EXPECT_EQ(root.Items(0), systemNode);
    EXPECT_EQ(Captions(root), (QStringList{QString::fromUtf8("系统"), "b", "a"}));
    EXPECT_EQ(tree.Read("Order.ini"), Utf16LeLines({"", "b", "gone"}));
}
} // namespace
