#include "base/TextCodec.h"

#include "support/TempTree.h"

#include <gtest/gtest.h>

namespace {
TEST(TextCodec, DecodesByByteOrderMarkElseUtf8ElseGb18030) {
    const struct {
        QByteArray bytes;
        QString text;
    } cases[] = {
        {QByteArray("\xEF\xBB\xBF\xE4\xB8\xAD", 6), QString::fromUtf8("中")},
        {QByteArray("\xFF\xFE\x2D\x4E\x61\x00", 6), QString::fromUtf8("中a")},
        {QByteArray("\xFE\xFF\x4E\x2D\x00\x61", 6), QString::fromUtf8("中a")},
        {QByteArray("\xE4\xB8\xAD\xE6\x96\x87", 6), QString::fromUtf8("中文")}, // UTF-8, no mark
        {QByteArray("\xD6\xD0\xCE\xC4", 4), QString::fromUtf8("中文")},         // GB18030
        {QByteArray("plain"), QString("plain")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeTextByBom(c.bytes), c.text) << c.bytes.toHex().toStdString();
}

TEST(TextCodec, SplitsAtEveryKindOfLineBreakAndStopsAtNul) {
    const struct {
        QString text;
        QStringList lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"a\n\rb", {"a", "", "b"}}, // LF CR is two breaks
        {QString("a\nb") + QChar(0) + "c\nd", {"a", "b"}},
        {"\r\n", {""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitTextLines(c.text), c.lines) << c.text.toStdString();
}

TEST(TextCodec, EncodesUnicodeLinesByteExactly) {
    EXPECT_EQ(encodeUnicodeLines({}), QByteArray("\xFF\xFE", 2));
    EXPECT_EQ(encodeUnicodeLines({"a", QString::fromUtf8("中")}), QByteArray("\xFF\xFE"
                                                                             "a\0\r\0\n\0"
                                                                             "\x2D\x4E\r\0\n\0",
                                                                             14));
}

TEST(TextCodec, WritingLeavesNoTemporaryFileBehind) {
    TempTree tree;
    writeUnicodeLines(tree / "Order.ini", {"x"});
    writeUnicodeLines(tree / "Order.ini", {"y"});
    EXPECT_EQ(tree.Names(), QStringList{"Order.ini"});
    EXPECT_EQ(readTextLines(tree / "Order.ini"), QStringList{"y"});
}
} // namespace
