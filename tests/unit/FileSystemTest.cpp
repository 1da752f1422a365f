#include "platform/FileSystem.h"

#include "support/TempTree.h"

#include <QFile>
#include <QMap>

#include <gtest/gtest.h>

namespace {
QMap<QString, std::uint32_t> AttributesIn(const QString& folder) {
    QMap<QString, std::uint32_t> attributes;
    for (const DirEntry& entry : enumerateDirectory(folder))
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
    EXPECT_EQ(attributes.value("."), AttributeDirectory);
    EXPECT_EQ(attributes.value(".."), AttributeDirectory);
    EXPECT_EQ(attributes.value("plain"), AttributeDirectory);
    EXPECT_EQ(attributes.value("locked"), AttributeDirectory | AttributeReadOnly);
    EXPECT_EQ(attributes.value(".hidden"), AttributeDirectory | AttributeHidden);
    EXPECT_EQ(attributes.value("link"), AttributeDirectory | AttributeReparsePoint);
    EXPECT_EQ(attributes.value("file.gif"), AttributeArchive);
    EXPECT_EQ(attributes.value("readonly.txt"), AttributeArchive | AttributeReadOnly);
}

TEST(FileSystem, MissingFolderEnumeratesNothingAndIsCreatedWithParents) {
    TempTree tree;
    EXPECT_TRUE(enumerateDirectory(tree / "missing").isEmpty());
    EXPECT_TRUE(forceDirectories(tree / "a/b/数据"));
    EXPECT_TRUE(directoryExists(tree / "a/b/数据"));
    EXPECT_FALSE(fileExists(tree / "a/b/数据"));
}

TEST(FileSystem, ReplaceRefusesReadOnlyFilesAndKeepsThem) {
    TempTree tree;
    tree.Write("Order.ini", "old");
    tree.SetReadOnly("Order.ini", true);
    EXPECT_THROW(replaceFileContents(tree / "Order.ini", "new"), FileError);
    EXPECT_EQ(tree.Read("Order.ini"), "old");
    EXPECT_EQ(tree.Names(), QStringList{"Order.ini"});
}
} // namespace

namespace {
TEST(FileSystem, ReplaceRefusesReadOnlyFolders) {
    TempTree tree;
    tree.MakeFolder("locked");
    tree.SetReadOnly("locked", true);
    EXPECT_THROW(replaceFileContents(tree / "locked/Order.ini", "new"), FileError);
    EXPECT_TRUE(tree.Names("locked").isEmpty());
}
} // namespace
