#include "base/NameCompare.h"

#include <gtest/gtest.h>

namespace {
int Sign(int value) {
    return (value > 0) - (value < 0);
}

struct CompareCase {
    const char* a;
    const char* b;
    int sign;
};

TEST(NameCompare, FoldsOnlyAsciiLetters) {
    const CompareCase cases[] = {
        {"ABC.GIF", "abc.gif", 0},
        {"a", "b", -1},
        {"B", "a", 1},
        {"ab", "abc", -1}, // a prefix is smaller
        {"", "a", -1},
        {"Ä", "ä", -1}, // outside a-z only the same case matches
        {"_", "a", 1},  // "a" folds to "A" (0x41), which is below "_" (0x5F)
        {"[", "Z", 1},
        {"表情", "表情", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sign(compareNames(QString::fromUtf8(c.a), QString::fromUtf8(c.b))), c.sign)
            << c.a << " vs " << c.b;
        EXPECT_EQ(Sign(compareNames(QString::fromUtf8(c.b), QString::fromUtf8(c.a))), -c.sign);
    }
    EXPECT_TRUE(sameText("notes.TxT", "NOTES.txt"));
    EXPECT_FALSE(sameText("ä.txt", "Ä.txt"));
}

TEST(NameCompare, ExtensionsAndNodeNames) {
    EXPECT_EQ(extractExtension("x.tar.gif"), ".gif");
    EXPECT_EQ(extractExtension(".txt"), ".txt");
    EXPECT_EQ(extractExtension("readme"), "");
    EXPECT_EQ(nodeName("/data/表情/smile.gif"), "smile.gif");
    EXPECT_EQ(nodeName("/data/a:b"), "a:b"); // ":" is an ordinary character here
    EXPECT_EQ(nodeName(""), "");
}
} // namespace
