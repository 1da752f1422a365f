#include "platform/FileSystem.h"

#include "support/TempTree.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <gtest/gtest.h>

namespace {
QMap<QString, DirEntry> EntriesIn(const QString& folder) {
    QMap<QString, DirEntry> entries;
    for (const DirEntry& entry : enumerateDirectory(folder))
        entries[entry.name] = entry;
    return entries;
}

TEST(FileSystem, EntriesSayWhatTheyAreAndWhichFoldersArePlain) {
    TempTree tree;
    tree.MakeFolder("plain");
    tree.MakeFolder("locked");
    tree.SetReadOnly("locked", true);
    tree.MakeFolder(".hidden");
    tree.Write("file.gif", "x");
    tree.Write("readonly.txt", "x");
    tree.SetReadOnly("readonly.txt", true);
    ASSERT_TRUE(QFile::link(tree / "plain", tree / "link"));
    ASSERT_TRUE(QFile::link(tree / "gone", tree / "dangling"));

    const auto entries = EntriesIn(tree.Path());
    const struct {
        const char* name;
        EntryType type;
        bool hidden, readOnly, link, plainFolder;
    } cases[] = {
        {".", EntryType::Folder, false, false, false, true},
        {"..", EntryType::Folder, false, false, false, true},
        {"plain", EntryType::Folder, false, false, false, true},
        {"locked", EntryType::Folder, false, true, false, false},
        {".hidden", EntryType::Folder, true, false, false, false},
        {"link", EntryType::Folder, false, false, true, false},
        {"dangling", EntryType::Other, false, false, true, false},
        {"file.gif", EntryType::File, false, false, false, false},
        {"readonly.txt", EntryType::File, false, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(entries.contains(c.name));
        const DirEntry& entry = entries[c.name];
        EXPECT_EQ(entry.type, c.type);
        EXPECT_EQ(entry.hidden, c.hidden);
        EXPECT_EQ(entry.readOnly, c.readOnly);
        EXPECT_EQ(entry.link, c.link);
        EXPECT_EQ(isPlainFolder(entry), c.plainFolder);
    }
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
