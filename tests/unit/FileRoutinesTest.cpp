#include "base/FileRoutines.h"

#include "platform/FileSystem.h"
#include "support/TempTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
TEST(listFilesRecursive, DepthFirstWhereTheSubFolderWasMet) {
    TempTree tree;
    tree.Write("a.gif");
    tree.Write("sub/b.gif");
    tree.Write("sub/deeper/d.gif");
    tree.Write("c.gif");
    tree.MakeFolder("empty");
    QStringList list{"kept"};
    listFilesRecursive(tree.Path(), list);

    // The top level in name order, with sub's files in sub's place.
    EXPECT_EQ(list, (QStringList{"kept", tree / "a.gif", tree / "c.gif", tree / "sub/b.gif",
                                 tree / "sub/deeper/d.gif"}));
    EXPECT_EQ(list.size(), 5);
}

TEST(listFilesRecursive, LinksAndFoldersWithOtherBitsAreListedNotEntered) {
    TempTree tree;
    TempTree outside;
    outside.Write("secret.gif");
    ASSERT_TRUE(QFile::link(outside.Path(), tree / "link"));
    tree.Write("locked/inner.gif");
    tree.SetReadOnly("locked", true);
    QStringList list;
    listFilesRecursive(tree.Path(), list);
    list.sort();
    EXPECT_EQ(list, (QStringList{tree / "link", tree / "locked"}));

    QStringList none;
    listFilesRecursive(tree / "missing", none);
    tree.MakeFolder("blank");
    listFilesRecursive(tree / "blank", none);
    EXPECT_TRUE(none.isEmpty());
}

TEST(moveNoReplace, NeverOverwritesATakenName) {
    TempTree tree;
    tree.Write("from/a.gif", "moved");
    tree.Write("to/a.gif", "original");
    tree.Write("to/a (2).gif", "second");
    EXPECT_TRUE(moveNoReplace(tree / "from/a.gif", tree / "to/a.gif"));
    EXPECT_EQ(tree.Read("to/a.gif"), "original");
    EXPECT_EQ(tree.Read("to/a (2).gif"), "second");
    EXPECT_EQ(tree.Read("to/a (3).gif"), "moved");
    EXPECT_TRUE(tree.Names("from").isEmpty());
}

TEST(moveIntoFolder, TheFolderReceivesTheItemUnderItsOwnName) {
    TempTree tree;
    tree.Write("pack/x.txt", "x");
    tree.MakeFolder("library");
    EXPECT_TRUE(moveIntoFolder(tree / "pack", tree / "library"));
    EXPECT_EQ(tree.Read("library/pack/x.txt"), "x");
    std::optional<FileError> error;
    EXPECT_FALSE(moveIntoFolder(tree / "pack", tree / "library", &error)) << "the source is gone";
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->problem(), FileProblem::NotFound);
    EXPECT_EQ(error->path(), tree / "pack");
}

TEST(moveNoReplace, ATakenFullPathGetsAFreeNameWhateverIsThere) {
    TempTree tree;
    TempTree outside;
    tree.MakeFolder("dst/faces");                                 // a folder
    tree.Write("dst/b.gif", "old");                               // a file
    ASSERT_TRUE(QFile::link(outside.Path(), tree / "dst/c.gif")); // a link to a folder outside
    tree.Write("dst/d (2).gif", "taken too");
    const struct {
        const char* from;
        const char* to;
        const char* landed;
    } cases[] = {
        {"src/faces", "dst/faces", "dst/faces (2)"},    {"src/b.gif", "dst/b.gif", "dst/b (2).gif"},
        {"src/c.gif", "dst/c.gif", "dst/c (2).gif"},    {"src/d.gif", "dst/d.gif", "dst/d.gif"},
        {"src/d2/d.gif", "dst/d.gif", "dst/d (3).gif"}, // "(2)" is taken: made from the name
    };
    for (const auto& c : cases) {
        if (QString(c.from).endsWith("faces"))
            tree.Write(QString(c.from) + "/a.gif", "new");
        else
            tree.Write(c.from, "new");
        EXPECT_TRUE(moveNoReplace(tree / c.from, tree / c.to)) << c.from;
        EXPECT_TRUE(QFileInfo::exists(tree / c.landed)) << c.landed;
    }
    EXPECT_EQ(tree.Read("dst/b.gif"), "old");
    EXPECT_EQ(tree.Names("dst/faces"), QStringList{}) << "never moved into the folder";
    EXPECT_EQ(outside.Names(), QStringList{}) << "never through the link";
}

// A folder template on another file system than the temporary folders of TempTree.
QString OtherFileSystemTemplate() {
    return QDir::tempPath() == "/dev/shm" ? "/tmp/jolvex-XXXXXX" : "/dev/shm/jolvex-XXXXXX";
}

TEST(moveNoReplace, AcrossFileSystemsKeepsContentsAndTimes) {
    QTemporaryDir other(OtherFileSystemTemplate());
    TempTree tree;
    if (!other.isValid())
        GTEST_SKIP() << "no second file system to move to";
    tree.Write("pack/a.gif", "picture");
    tree.Write("pack/a.gif.thb", "thumb");
    ASSERT_TRUE(setFileWriteTime(tree / "pack/a.gif.thb", 1'700'000'000'123'456'789LL));
    EXPECT_TRUE(moveIntoFolder(tree / "pack", other.path()));
    QFile moved(other.path() + "/pack/a.gif");
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_EQ(moved.readAll(), "picture");
    EXPECT_EQ(fileWriteTime(other.path() + "/pack/a.gif.thb"), 1'700'000'000'123'456'789LL);
    EXPECT_FALSE(QFile::exists(tree / "pack"));
}

TEST(moveNoReplace, ASourceThatCannotBeRemovedAfterACopyIsReportedOnce) {
    QTemporaryDir other(OtherFileSystemTemplate());
    TempTree tree;
    if (!other.isValid())
        GTEST_SKIP() << "no second file system to move to";
    tree.Write("pack/a.gif", "picture");
    tree.Write("pack/locked.gif", "stuck");
    // An immutable file cannot be deleted, not even by root.
    const QString locked = tree / "pack/locked.gif";
    if (QProcess::execute("chattr", {"+i", locked}) != 0)
        GTEST_SKIP() << "this file system cannot make a file immutable";
    std::optional<FileError> error;
    const bool moved = moveIntoFolder(tree / "pack", other.path(), &error);
    QProcess::execute("chattr", {"-i", locked});
    EXPECT_FALSE(moved);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->problem(), FileProblem::MovedCopyKept);
    EXPECT_EQ(error->otherPath(), other.path() + "/pack");
    EXPECT_EQ(QDir(other.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{"pack"})
        << "copied once, never again under another name";
    QFile copy(other.path() + "/pack/locked.gif");
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "stuck") << "the copy is whole";
    EXPECT_EQ(tree.Read("pack/locked.gif"), "stuck") << "what could not be removed stays";
}

TEST(moveSubFolders, MovesFoldersOnlyAndRenamesOnCollision) {
    TempTree tree;
    tree.Write("unpacked/faces/a.gif", "new");
    tree.Write("unpacked/loose.txt", "stays");
    tree.Write("library/faces/a.gif", "old");
    moveSubFolders(tree / "unpacked", tree / "library");
    EXPECT_EQ(tree.Read("library/faces/a.gif"), "old");
    EXPECT_EQ(tree.Read("library/faces (2)/a.gif"), "new");
    EXPECT_EQ(tree.Names("unpacked"), QStringList{"loose.txt"});
}

TEST(deleteDirectory, RemovesEverythingButNeverFollowsALink) {
    TempTree tree;
    TempTree outside;
    outside.Write("keep.gif", "precious");
    tree.Write("doomed/a/b.gif");
    tree.Write("doomed/.hidden");
    ASSERT_TRUE(QFile::link(outside.Path(), tree / "doomed/link"));
    EXPECT_TRUE(deleteDirectory(tree / "doomed"));
    EXPECT_FALSE(QFile::exists(tree / "doomed"));
    EXPECT_EQ(outside.Read("keep.gif"), "precious");
    EXPECT_FALSE(deleteDirectory(tree / "doomed"));
}

TEST(loadTextFile, EncodingsLineBreaksAndNul) {
    const struct {
        const char* what;
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"utf-8 LF", "a\nb\n", "a\r\nb\r\n"},
        {"lone CR", "a\rb", "a\r\nb"},
        {"CR LF stays", "a\r\nb", "a\r\nb"},
        {"LF CR is two breaks", "a\n\rb", "a\r\n\r\nb"},
        {"NUL cuts", QByteArray("ab\0cd", 5), "ab"},
        {"utf-8 mark", "\xEF\xBB\xBF\xE4\xBD\xA0\xE5\xA5\xBD", QString::fromUtf8("你好")},
        {"utf-16be", QByteArray("\xFE\xFF\x4F\x60\x00\x0A", 6), QString::fromUtf8("你\r\n")},
        {"gb18030", "\xC4\xE3\xBA\xC3", QString::fromUtf8("你好")},
        {"empty", "", ""},
    };
    for (const auto& c : cases) {
        TempTree tree;
        tree.Write("s.txt", c.bytes);
        EXPECT_EQ(loadTextFile(tree / "s.txt"), c.text) << c.what;
    }
    TempTree tree;
    EXPECT_EQ(loadTextFile(tree / "missing.txt"), "");
}
} // namespace

namespace {
// The starter library is copied into an empty one: plain files and folders, nothing taken
// over, no link followed.
TEST(copyFolderContents, CopiesFilesAndFoldersAndKeepsWhatIsThere) {
    TempTree tree;
    tree.Write("starter/表情/a.gif", "a");
    tree.Write("starter/文字/问候/hi.txt", "hi");
    tree.Write("starter/Order.ini", "order");
    tree.Write("outside/secret.txt", "secret");
    ASSERT_TRUE(QFile::link(tree / "outside", tree / "starter/link"));
    EXPECT_TRUE(isEmptyFolder(tree / "library")) << "a missing folder holds nothing";

    tree.Write("library/Order.ini", "mine");
    copyFolderContents(tree / "starter", tree / "library");
    EXPECT_EQ(tree.Read("library/表情/a.gif"), "a");
    EXPECT_EQ(tree.Read("library/文字/问候/hi.txt"), "hi");
    EXPECT_EQ(tree.Read("library/Order.ini"), "mine") << "a taken name is left as it is";
    EXPECT_FALSE(QFileInfo::exists(tree / "library/link"));
    EXPECT_FALSE(isEmptyFolder(tree / "library"));
}
} // namespace
