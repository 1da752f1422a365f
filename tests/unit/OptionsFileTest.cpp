#include "base/OptionsFile.h"

#include "platform/FileSystem.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

namespace {
QByteArray Utf16Le(const QString& text) {
    QByteArray bytes("\xFF\xFE", 2);
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

TEST(OptionsFile, LoadingTable) {
    const struct {
        const char* what;
        QByteArray bytes;
        bool hasSaved;
        int left;
        int top;
    } cases[] = {
        {"both", Utf16Le("[MainWnd]\r\nLeft=120\r\nTop=30\r\n"), true, 120, 30},
        {"only top", Utf16Le("[MainWnd]\r\nTop=44\r\n"), false, -1, 44},
        {"not a number", Utf16Le("[MainWnd]\r\nLeft=abc\r\nTop=x\r\n"), true, 0, 0},
        {"letter case, spaces", Utf16Le("[mainwnd]\r\n  LEFT = -50 \r\ntop=7\r\n"), true, -50, 7},
        {"no mark still UTF-16LE", Utf16Le("[MainWnd]\r\nLeft=5\r\n").mid(2), true, 5, 0},
        {"ANSI file yields nothing", "[MainWnd]\r\nLeft=5\r\nTop=9\r\n", false, -1, 0},
        {"other section", Utf16Le("[Other]\r\nLeft=5\r\n"), false, -1, 0},
        {"key before any section", Utf16Le("Left=5\r\n[MainWnd]\r\n"), false, -1, 0},
        {"section named again",
         Utf16Le("[MainWnd]\r\nLeft=5\r\n[Other]\r\nk=1\r\n[MainWnd]\r\nTop=30\r\n"), true, 5, 30},
        // Found by fuzzing: a lone surrogate once made the whole file one line.
        {"lone surrogate elsewhere",
         Utf16Le(QString("[Other]\r\nk=") + QChar(0xDADA) + "\r\n[MainWnd]\r\nLeft=8\r\nTop=2\r\n"),
         true, 8, 2},
    };
    for (const auto& c : cases) {
        TempTree tree;
        tree.Write("Options.ini", c.bytes);
        BarPlacement position;
        loadBarPlacement(tree / "Options.ini", position);
        EXPECT_EQ(position.hasSavedPosition, c.hasSaved) << c.what;
        EXPECT_EQ(position.left, c.left) << c.what;
        EXPECT_EQ(position.top, c.top) << c.what;
    }
}

TEST(OptionsFile, MissingFileLeavesTheDefaults) {
    TempTree tree;
    BarPlacement position;
    loadBarPlacement(tree / "Options.ini", position);
    EXPECT_FALSE(position.hasSavedPosition);
    EXPECT_EQ(position.left, -1);
    EXPECT_EQ(position.top, 0);
}

TEST(OptionsFile, SavingIntoAMissingFileWritesExactlyFourLines) {
    TempTree tree;
    saveBarPlacement(tree / "Options.ini", 565, -3);
    EXPECT_EQ(tree.Read("Options.ini"), Utf16Le("[MainWnd]\r\nLeft=565\r\nTop=-3\r\n\r\n"));
    EXPECT_EQ(tree.Names(), QStringList{"Options.ini"});
}

TEST(OptionsFile, SavingKeepsForeignSectionsAndKeys) {
    TempTree tree;
    tree.Write("Options.ini",
               Utf16Le("ignored before sections\r\n[Other]\r\n; a comment\r\n"
                       "x = 1\r\n\r\n[mainwnd]\r\nTOP=5\r\nFoo=bar\r\n[Last]\r\ny=2"));
    saveBarPlacement(tree / "Options.ini", 10, 20);
    EXPECT_EQ(tree.Read("Options.ini"),
              Utf16Le("[Other]\r\nx=1\r\n\r\n[mainwnd]\r\nTOP=20\r\nFoo=bar\r\nLeft=10\r\n\r\n"
                      "[Last]\r\ny=2\r\n\r\n"));
    BarPlacement position;
    loadBarPlacement(tree / "Options.ini", position);
    EXPECT_TRUE(position.hasSavedPosition);
    EXPECT_EQ(position.left, 10);
    EXPECT_EQ(position.top, 20);
}

TEST(OptionsFile, UnwritableFileRaisesAndStaysAsItWas) {
    TempTree tree;
    const QByteArray before = Utf16Le("[MainWnd]\r\nLeft=1\r\nTop=2\r\n\r\n");
    tree.Write("Options.ini", before);
    tree.SetReadOnly("Options.ini", true);
    EXPECT_THROW(saveBarPlacement(tree / "Options.ini", 3, 4), FileError);
    EXPECT_EQ(tree.Read("Options.ini"), before);

    tree.MakeFolder("locked");
    tree.SetReadOnly("locked", true);
    EXPECT_THROW(saveBarPlacement(tree / "locked/Options.ini", 3, 4), FileError);
    EXPECT_TRUE(tree.Names("locked").isEmpty());
}
TEST(OptionsFile, SavingASectionNamedTwiceKeepsEveryForeignKeyInItsSection) {
    TempTree tree;
    tree.Write("Options.ini",
               Utf16Le("[MainWnd]\r\nLeft=5\r\nColour=blue\r\n[Other]\r\nk=1\r\n[mainwnd]\r\n"
                       "Top=30\r\n"));
    saveBarPlacement(tree / "Options.ini", 70, 80);
    EXPECT_EQ(
        tree.Read("Options.ini"),
        Utf16Le("[MainWnd]\r\nLeft=70\r\nColour=blue\r\nTop=80\r\n\r\n[Other]\r\nk=1\r\n\r\n"));
}
} // namespace
