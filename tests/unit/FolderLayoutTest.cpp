#include "popup/FolderLayout.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
// Captions measured without fonts: 6 pixels a character in the popup's font, 12 in the bar's.
int FakeWidth(const QString& caption, NodeKind kind) {
    return static_cast<int>(caption.size()) * (showsPopupFont(kind) ? 6 : 12);
}

struct Child {
    NodeKind kind;
    QString caption;
};

std::unique_ptr<LibraryNode> FolderOf(const std::vector<Child>& children) {
    auto folder = std::make_unique<LibraryNode>(QStringLiteral("f"), QStringLiteral("/lib/f"),
                                                NodeKind::Folder);
    for (const Child& child : children)
        folder->addChild(child.caption, "/lib/f/" + child.caption, child.kind);
    return folder;
}

std::vector<Child> Pictures(int count) {
    std::vector<Child> pictures;
    for (int i = 0; i < count; ++i)
        pictures.push_back({NodeKind::Image, QString("p%1.png").arg(i)});
    return pictures;
}

std::vector<QRect> Rects(const FolderLayout& layout) {
    std::vector<QRect> rects;
    for (const PopupCell& cell : layout.cells)
        rects.push_back(cell.rect);
    return rects;
}

TEST(FolderLayout, AnEmptyFolderHasItsPlaceholderInTheNarrowestPopup) {
    const FolderLayout layout = layOutFolder(*FolderOf({}), FakeWidth, 444, 1000);
    ASSERT_EQ(layout.cells.size(), 1u);
    EXPECT_EQ(layout.width, 92);
    EXPECT_TRUE(layout.cells[0].placeholder);
    EXPECT_EQ(layout.cells[0].caption, QString::fromUtf8("空"));
    EXPECT_EQ(layout.cells[0].rect, QRect(1, 1, 88, 22));
    EXPECT_EQ(layout.visibleBottom, 23);
}

TEST(FolderLayout, WidthFollowsTheWidestCaptionOrPictureRowWithinItsBounds) {
    const struct {
        const char* name;
        std::vector<Child> children;
        int width;
    } cases[] = {
        {"short caption", {{NodeKind::Text, "ab"}}, 92},
        {"caption 100 wide", {{NodeKind::Text, QString(100 / 6 + 1, 'x')}}, 17 * 6 + 54},
        {"command in the bar's font", {{NodeKind::Command, QString(10, 'c')}}, 10 * 12 + 54},
        {"three pictures", Pictures(3), 4 + 3 * 44},
        {"a row and more", Pictures(25), 444},
        {"a caption wider than the widest", {{NodeKind::Folder, QString(200, 'w')}}, 444},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(layOutFolder(*FolderOf(c.children), FakeWidth, 444, 1000).width, c.width);
    }
}

TEST(FolderLayout, RowsStackAndPicturesFillRowsOfTen) {
    std::vector<Child> children{{NodeKind::Text, "t"}, {NodeKind::Separator, ""}};
    for (const Child& picture : Pictures(12))
        children.push_back(picture);
    children.push_back({NodeKind::Folder, "d"});
    const FolderLayout layout = layOutFolder(*FolderOf(children), FakeWidth, 444, 1000);
    const std::vector<QRect> rects = Rects(layout);
    ASSERT_EQ(rects.size(), 15u);
    EXPECT_EQ(rects[0], QRect(1, 1, 440, 22));    // a snippet row, as wide as the panel
    EXPECT_EQ(rects[1], QRect(1, 23, 440, 5));    // a separator
    EXPECT_EQ(rects[2], QRect(1, 28, 44, 44));    // the first picture
    EXPECT_EQ(rects[11], QRect(397, 28, 44, 44)); // the tenth, at the end of the row
    EXPECT_EQ(rects[12], QRect(1, 72, 44, 44));   // the eleventh starts a row
    EXPECT_EQ(rects[14], QRect(1, 116, 440, 22)); // the folder below the pictures
}

TEST(FolderLayout, TheVisiblePartEndsWithTheLastCellThatFits) {
    const auto folder = FolderOf({{NodeKind::Text, "a"},
                                  {NodeKind::Text, "b"},
                                  {NodeKind::Text, "c"},
                                  {NodeKind::Text, "d"}});
    EXPECT_EQ(layOutFolder(*folder, FakeWidth, 444, 1000).visibleBottom, 89);
    EXPECT_EQ(layOutFolder(*folder, FakeWidth, 444, 60).visibleBottom, 45);
    EXPECT_EQ(layOutFolder(*folder, FakeWidth, 444, 45).visibleBottom, 23);
}

// The cells keep what they show when the folder's nodes are freed by a rescan.
TEST(FolderLayout, CellsCopyWhatTheyShowFromTheNodes) {
    const auto folder = FolderOf({{NodeKind::Text, QString::fromUtf8("晚安")},
                                  {NodeKind::Command, QString::fromUtf8("隐藏")}});
    folder->child(1)->setChecked(true);
    const FolderLayout layout = layOutFolder(*folder, FakeWidth, 444, 1000);
    folder->clearChildren();
    ASSERT_EQ(layout.cells.size(), 2u);
    EXPECT_EQ(layout.cells[0].caption, QString::fromUtf8("晚安"));
    EXPECT_EQ(layout.cells[0].path, QString::fromUtf8("/lib/f/晚安"));
    EXPECT_EQ(layout.cells[0].kind, NodeKind::Text);
    EXPECT_FALSE(layout.cells[0].checked);
    EXPECT_TRUE(layout.cells[1].checked);
    EXPECT_FALSE(layout.cells[1].placeholder);
}
} // namespace
