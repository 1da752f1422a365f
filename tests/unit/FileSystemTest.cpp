#include "platform/FileSystem.h"

#include "support/TempTree.h"

#include <QFile>
#include <QMap>

#include <gtest/gtest.h>

namespace {
QMap<QString, std::uint32_t> AttributesIn(const QString& folder) {
    QMap<QString, std::uint32_t> attributes;
    for (const DirEntry& entry : EnumerateDirectory(folder))
        attributes[entry.name] = entry.attributes;
    return attributes;
}

TEST(FileSystem, AttributeWordsFollowTheWindowsBits) {
    TempTree tree;
    tree.MakeFolder("plain");
    tree.MakeFolder("locked");
    tree.SetReadOnly("locked", true);
    tree.MakeFolder(".hidden");
    tree.Write("file.gif", "x");
    tree.Write("readonly.txt", "x");
    tree.SetReadOnly("readonly.txt", true);
    ASSERT_TRUE(QFile::link(tree / "plain", tree / "link"));

    const auto attributes = AttributesIn(tree.Path());
    EXPECT_EQ(attributes.value("."), faDirectory);
    EXPECT_EQ(attributes.value(".."), faDirectory);
    EXPECT_EQ(attributes.value("plain"), faDirectory);
    EXPECT_EQ(attributes.value("locked"), faDirectory | faReadOnly);
    EXPECT_EQ(attributes.value(".hidden"), faDirectory | faHidden);
    EXPECT_EQ(attributes.value("link"), faDirectory | faReparsePoint);
    EXPECT_EQ(attributes.value("file.gif"), faArchive);
    EXPECT_EQ(attributes.value("readonly.txt"), faArchive | faReadOnly);
}

TEST(FileSystem, MissingFolderEnumeratesNothingAndIsCreatedWithParents) {
    TempTree tree;
    EXPECT_TRUE(EnumerateDirectory(tree / "missing").isEmpty());
    EXPECT_TRUE(ForceDirectories(tree / "a/b/数据"));
    EXPECT_TRUE(DirectoryExists(tree / "a/b/数据"));
    EXPECT_FALSE(FileExists(tree / "a/b/数据"));
}

TEST(FileSystem, ReplaceRefusesReadOnlyFilesAndKeepsThem) {
    TempTree tree;
    tree.Write("Order.ini", "old");
    tree.SetReadOnly("Order.ini", true);
    EXPECT_THROW(ReplaceFileContents(tree / "Order.ini", "new"), FileError);
    EXPECT_EQ(tree.Read("Order.ini"), "old");
    EXPECT_EQ(tree.Names(), QStringList{"Order.ini"});
}
} // namespace

namespace {
TEST(FileSystem, ReplaceRefusesReadOnlyFolders) {
    TempTree tree;
    tree.MakeFolder("locked");
    tree.SetReadOnly("locked", true);
    EXPECT_THROW(ReplaceFileContents(tree / "locked/Order.ini", "new"), FileError);
    EXPECT_TRUE(tree.Names("locked").isEmpty());
}
} // namespace
