#include "platform/FileSystem.h"

#include "support/TempTree.h"

#include <QFile>
#include <QFileInfo>
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
TEST(FileSystem, ReplacingALinkReplacesTheLinkNeverItsTarget) {
    TempTree tree;
    TempTree outside;
    outside.Write("precious.txt", "keep me");
    const struct {
        const char* what;
        QString target;
    } cases[] = {
        {"link to a file elsewhere", outside / "precious.txt"},
        {"link to nothing", outside / "nothing-here.txt"},
        {"link to a folder", outside.Path()},
    };
    for (const auto& c : cases) {
        const QString path = tree / "Order.ini";
        QFile::remove(path);
        ASSERT_TRUE(QFile::link(c.target, path)) << c.what;
        replaceFileContents(path, "new");
        EXPECT_TRUE(isPlainFile(path)) << c.what;
        EXPECT_EQ(tree.Read("Order.ini"), "new") << c.what;
        EXPECT_EQ(outside.Read("precious.txt"), "keep me") << c.what;
        EXPECT_EQ(outside.Names(), QStringList{"precious.txt"}) << c.what;
    }
    EXPECT_EQ(tree.Names(), QStringList{"Order.ini"}) << "no temporary file is left";
}

TEST(FileSystem, ReplaceKeepsTheFilesPermissionsAndRefusesAFolder) {
    TempTree tree;
    tree.Write("a.ini", "old");
    ASSERT_TRUE(QFile::setPermissions(tree / "a.ini",
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    replaceFileContents(tree / "a.ini", "new");
    const QFile::Permissions modeBits = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                        QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    EXPECT_EQ(QFile::permissions(tree / "a.ini") & modeBits,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    tree.MakeFolder("b.thb");
    EXPECT_THROW(replaceFileContents(tree / "b.thb", "x"), FileError);
    EXPECT_TRUE(QFileInfo(tree / "b.thb").isDir());
}
} // namespace
