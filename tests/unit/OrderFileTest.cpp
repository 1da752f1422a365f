#include "library/OrderFile.h"

#include "library/LibraryNode.h"
#include "platform/FileSystem.h"
#include "support/TempTree.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

namespace {
// A folder node with children of the given names (kind from the name) under a temporary folder.
class OrderFile : public ::testing::Test {
protected:
    LibraryNode* Folder(const QStringList& names) {
        node = std::make_unique<LibraryNode>("", tree.Path(), NodeKind::Folder);
        for (const QString& name : names)
            node->addChild(name, tree / name,
                           name.contains('.') ? NodeKind::Image : NodeKind::Folder);
        return node.get();
    }
    QStringList Order() const {
        QStringList names;
        for (int i = 0; i < node->childCount(); ++i)
            names << node->child(i)->caption();
        return names;
    }
    QString OrderPath() const { return tree / "Order.ini"; }

    TempTree tree;
    std::unique_ptr<LibraryNode> node;
};

TEST_F(OrderFile, ReadsEveryEncoding) {
    const QString tiger = QString::fromUtf8("老虎.gif");
    const QStringList lines{"z.gif", tiger};
    const QString text = lines.join("\r\n");
    QStringEncoder gb18030("GB18030");
    const struct {
        const char* what;
        QByteArray bytes;
    } files[] = {
        {"utf-16le", Utf16LeLines(lines)},
        {"utf-8 mark", QByteArray("\xEF\xBB\xBF") + text.toUtf8()},
        {"utf-8 plain", text.toUtf8()},
        {"gb18030", QByteArray(gb18030.encode(text))},
        {"utf-16be",
         [&] {
             QByteArray bytes("\xFE\xFF", 2);
             for (QChar c : text) {
                 bytes.append(char(c.unicode() >> 8));
                 bytes.append(char(c.unicode() & 0xFF));
             }
             return bytes;
         }()},
    };
    for (const auto& file : files) {
        Folder({"a.gif", tiger, "z.gif"});
        tree.Write("Order.ini", file.bytes);
        applyOrderFile(node.get(), OrderPath());
        EXPECT_EQ(Order(), (QStringList{"z.gif", tiger, "a.gif"})) << file.what;
        EXPECT_EQ(tree.Read("Order.ini"), file.bytes) << file.what << ": nothing pruned, untouched";
    }
}

TEST_F(OrderFile, StaleLinesArePrunedAndTheFileBecomesUnicode) {
    const QString tiger = QString::fromUtf8("老虎.gif");
    Folder({"a.gif", tiger});
    QStringEncoder gb18030("GB18030");
    tree.Write("Order.ini", QByteArray(gb18030.encode(tiger + "\r\ngone.gif\r\nA.GIF \r\n")));
    applyOrderFile(node.get(), OrderPath());
    EXPECT_EQ(Order(), (QStringList{tiger, "a.gif"}));
    // "A.GIF " with its trailing space names nothing either.
    EXPECT_EQ(tree.Read("Order.ini"), Utf16LeLines({tiger}));
}

TEST_F(OrderFile, OtherLetterCaseMatches) {
    Folder({"abc.gif", "x.gif"});
    tree.Write("Order.ini", "X.GIF\r\nABC.GIF\r\n");
    applyOrderFile(node.get(), OrderPath());
    EXPECT_EQ(Order(), (QStringList{"x.gif", "abc.gif"}));
    EXPECT_EQ(tree.Read("Order.ini"), "X.GIF\r\nABC.GIF\r\n");
}

TEST_F(OrderFile, ARepeatedNameBindsOnceAndStaysInTheFile) {
    const struct {
        QStringList lines;
        QStringList order;
    } cases[] = {
        {{"X", "Y", "X"}, {"X", "Y", "Z"}},
        {{"Z", "Y", "X", "Z"}, {"Z", "Y", "X"}},
        {{"Z"}, {"Z", "X", "Y"}},
    };
    for (const auto& c : cases) {
        Folder({"X", "Y", "Z"});
        tree.Write("Order.ini", Utf16LeLines(c.lines));
        applyOrderFile(node.get(), OrderPath());
        EXPECT_EQ(Order(), c.order) << c.lines.join(",").toStdString();
        EXPECT_EQ(tree.Read("Order.ini"), Utf16LeLines(c.lines));
    }
}

TEST_F(OrderFile, SingleChildOrEmptyFileIsLeftAlone) {
    Folder({"only.gif"});
    tree.Write("Order.ini", "gone.gif\r\n");
    applyOrderFile(node.get(), OrderPath());
    EXPECT_EQ(tree.Read("Order.ini"), "gone.gif\r\n");

    Folder({"a.gif", "b.gif"});
    tree.Write("Order.ini", "");
    applyOrderFile(node.get(), OrderPath());
    EXPECT_EQ(Order(), (QStringList{"a.gif", "b.gif"}));
    EXPECT_EQ(tree.Read("Order.ini"), "");

    applyOrderFile(node.get(), tree / "missing.ini");
    EXPECT_EQ(Order(), (QStringList{"a.gif", "b.gif"}));
}

TEST_F(OrderFile, ReadOnlyFileThatNeedsPruningRaisesAfterReordering) {
    Folder({"a.gif", "b.gif"});
    tree.Write("Order.ini", "b.gif\r\ngone.gif\r\n");
    tree.SetReadOnly("Order.ini", true);
    EXPECT_THROW(applyOrderFile(node.get(), OrderPath()), FileError);
    EXPECT_EQ(Order(), (QStringList{"b.gif", "a.gif"}));
    EXPECT_EQ(tree.Read("Order.ini"), "b.gif\r\ngone.gif\r\n");
}

TEST_F(OrderFile, SaveWritesEveryEntryWithTheInsertedName) {
    Folder({"sub", "b.gif", "a.gif"});
    node->addChild("-", "", NodeKind::Separator);
    node->addChild("cmd", "", NodeKind::Command);

    saveOrderFile(node.get(), -1, "ignored");
    EXPECT_EQ(tree.Read("Order.ini"), Utf16LeLines({"sub", "b.gif", "a.gif"}));
    saveOrderFile(node.get(), 0, "new.gif");
    EXPECT_EQ(tree.Read("Order.ini"), Utf16LeLines({"new.gif", "sub", "b.gif", "a.gif"}));
    saveOrderFile(node.get(), 2, "new.gif");
    EXPECT_EQ(tree.Read("Order.ini"), Utf16LeLines({"sub", "b.gif", "new.gif", "a.gif"}));
    saveOrderFile(node.get(), 99, "new.gif");
    EXPECT_EQ(tree.Read("Order.ini"), Utf16LeLines({"sub", "b.gif", "a.gif"}));

    Folder({});
    saveOrderFile(node.get(), -1, "");
    EXPECT_EQ(tree.Read("Order.ini"), QByteArray("\xFF\xFE", 2));
    EXPECT_EQ(tree.Names(), QStringList{"Order.ini"});
}

TEST_F(OrderFile, SaveIntoReadOnlyFileRaisesAndKeepsIt) {
    Folder({"a.gif", "b.gif"});
    tree.Write("Order.ini", "b.gif\r\n");
    tree.SetReadOnly("Order.ini", true);
    EXPECT_THROW(saveOrderFile(node.get(), -1, ""), FileError);
    EXPECT_EQ(tree.Read("Order.ini"), "b.gif\r\n");
}
TEST_F(OrderFile, NamesDifferingInLetterCaseEachKeepTheirPlace) {
    const struct {
        QStringList lines;
        QStringList order;
    } cases[] = {
        {{"A.GIF", "a.gif"}, {"A.GIF", "a.gif", "b.gif"}},
        {{"b.gif", "a.gif", "A.GIF"}, {"b.gif", "a.gif", "A.GIF"}},
        {{"b.gif", "A.gif", "a.GIF"}, {"b.gif", "a.gif", "A.GIF"}}, // folded: in turn
    };
    for (const auto& c : cases) {
        Folder({"a.gif", "A.GIF", "b.gif"});
        tree.Write("Order.ini", Utf16LeLines(c.lines));
        applyOrderFile(node.get(), OrderPath());
        EXPECT_EQ(Order(), c.order) << c.lines.join(",").toStdString();
        EXPECT_EQ(tree.Read("Order.ini"), Utf16LeLines(c.lines)) << "nothing to prune";
    }
}
} // namespace
