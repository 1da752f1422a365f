#include "ui/ErrorText.h"
#include "picture/Picture.h"
#include "platform/FileError.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {
// The lower layers report what went wrong as values; the sentences are made here, one per
// kind of failure, with the paths and sizes the values carry.
TEST(ErrorText, FileErrorsNameTheirPathsAndTheSystemsReason) {
    const struct {
        FileError error;
        const char* text;
    } cases[] = {
        {FileError(FileProblem::WriteOntoFolder, "/d/Order.ini"),
         "无法写入文件 \"/d/Order.ini\"：那里是一个文件夹。"},
        {FileError(FileProblem::ReadOnlyFile, "/d/a"), "无法写入文件 \"/d/a\"：文件是只读的。"},
        {FileError(FileProblem::ReadOnlyFolder, "/d/a"), "无法写入文件 \"/d/a\"：文件夹是只读的。"},
        {FileError(FileProblem::NotPlainFile, "/d/管"), "无法读取文件 \"/d/管\"：不是普通文件。"},
        {FileError(FileProblem::NotFound, "/d/x"), "找不到 \"/d/x\"。"},
        {FileError(FileProblem::MovedCopyKept, "/d/x", 0, "/e/x"),
         "已将 \"/d/x\" 复制到 \"/e/x\"，但无法删除原来的文件。"},
        {FileError(FileProblem::MoveFailed, "/d/x"), "无法移动 \"/d/x\"。"},
        {FileError(FileProblem::NoFreeName, "/d/x"), "无法移动 \"/d/x\"：没有可用的名称。"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorText(c.error), QString::fromUtf8(c.text)) << c.text;

    const FileError full(FileProblem::WriteFailed, "/d/a", ENOSPC);
    EXPECT_EQ(errorText(full), QString::fromUtf8("无法写入文件 \"/d/a\"：") +
                                   QString::fromLocal8Bit(strerror(ENOSPC)));
    EXPECT_NE(QString::fromUtf8(full.what()).indexOf("/d/a"), -1) << "the log line names the path";
}

TEST(ErrorText, PictureErrorsSayWhichDecoderMetThem) {
    const struct {
        PictureError error;
        const char* text;
    } cases[] = {
        {PictureError(PictureProblem::Damaged, PictureKind::Png), "PNG 文件已损坏。"},
        {PictureError(PictureProblem::Undecodable, PictureKind::Gif), "GIF 文件无法解码：没有图像"},
        {PictureError(PictureProblem::Undecodable, PictureKind::Png, "bad CRC"),
         "PNG 文件无法解码：bad CRC"},
        {PictureError(PictureProblem::TooLarge, PictureKind::None, {}, QSize(9000, 8000)),
         "图像太大（9000×8000）。"},
        {PictureError(PictureProblem::TooLarge, PictureKind::None, {}, QSize(9000, 8000))
             .inFormat(PictureKind::Gif),
         "GIF 文件无法解码：图像太大（9000×8000）。"},
        {PictureError(PictureProblem::OutOfMemory), "内存不足。"},
        {PictureError(PictureProblem::Cancelled, PictureKind::Jpeg), "JPEG 文件无法解码：已取消。"},
        {PictureError(PictureProblem::UnsupportedFormat), "不支持的图像格式。"},
        {PictureError(FileError(FileProblem::NotPlainFile, "/d/p.gif")),
         "无法读取文件 \"/d/p.gif\"：不是普通文件。"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorText(c.error), QString::fromUtf8(c.text)) << c.text;
}

TEST(ErrorText, AnyOtherErrorIsToldByItsOwnWords) {
    const std::runtime_error other(QString::fromUtf8("包中没有 config/Face.Xml。").toStdString());
    EXPECT_EQ(errorText(other), QString::fromUtf8("包中没有 config/Face.Xml。"));
    const std::exception& file = FileError(FileProblem::NotFound, "/d/x");
    EXPECT_EQ(errorText(file), QString::fromUtf8("找不到 \"/d/x\"。"));
}
} // namespace
