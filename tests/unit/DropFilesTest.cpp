#include "delivery/DropFiles.h"

#include <gtest/gtest.h>

namespace {
TEST(DropFiles, OneWideNameAfterTheTwentyByteHeader) {
    const QByteArray block = buildDropFilesBlock("C:\\a.gif");
    const QByteArray expected = QByteArray("\x14\0\0\0", 4) + QByteArray(12, '\0') +
                                QByteArray("\xFF\xFF\xFF\xFF", 4) +
                                QByteArray("C\0:\0\\\0a\0.\0g\0i\0f\0", 16) + QByteArray(4, '\0');
    EXPECT_EQ(block.size(), 40);
    EXPECT_EQ(block, expected);
    EXPECT_EQ(buildDropFilesBlock(QString::fromUtf8("/数据/笑.gif")).size(), 2 * 9 + 24);
}
} // namespace
