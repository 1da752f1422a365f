#include "ui/ErrorText.h"

#include "picture/Picture.h"
#include "platform/FileError.h"

#include <QCoreApplication>

#include <cstring>

namespace {
QString tr(const char* text) {
    return QCoreApplication::translate("ErrorText", text);
}

QString systemReason(int errorNumber) {
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

QString formatName(PictureKind format) {
    return QString::fromLatin1(pictureFormatName(format));
}

// The problem in words, without the format that met it.
QString pictureProblemText(const PictureError& error) {
    switch (error.problem()) {
    case PictureProblem::Damaged:
        return tr("%1 文件已损坏。").arg(formatName(error.format()));
    case PictureProblem::Undecodable:
        return error.detail().isEmpty() ? tr("没有图像") : error.detail();
    case PictureProblem::UnsupportedCompression:
        return tr("不支持压缩的 BMP 文件。");
    case PictureProblem::UnsupportedDepth:
        return tr("不支持的 BMP 像素深度。");
    case PictureProblem::OutOfMemory:
        return tr("内存不足。");
    case PictureProblem::Cancelled:
        return tr("已取消。");
    case PictureProblem::InvalidSize:
        return tr("图像的尺寸无效。");
    case PictureProblem::TooLarge:
        return tr("图像太大（%1×%2）。").arg(error.size().width()).arg(error.size().height());
    case PictureProblem::TooManyScans:
        return tr("扫描次数超过 %1。").arg(error.detail());
    case PictureProblem::UnsupportedFormat:
        return tr("不支持的图像格式。");
    case PictureProblem::Unreadable:
        return error.fileError() ? errorText(*error.fileError()) : tr("无法读取文件。");
    }
    return QString();
}
} // namespace

QString errorText(const FileError& error) {
    const QString& path = error.path();
    switch (error.problem()) {
    case FileProblem::WriteOntoFolder:
        return tr("无法写入文件 \"%1\"：那里是一个文件夹。").arg(path);
    case FileProblem::ReadOnlyFile:
        return tr("无法写入文件 \"%1\"：文件是只读的。").arg(path);
    case FileProblem::ReadOnlyFolder:
        return tr("无法写入文件 \"%1\"：文件夹是只读的。").arg(path);
    case FileProblem::WriteFailed:
        return tr("无法写入文件 \"%1\"：%2").arg(path, systemReason(error.errorNumber()));
    case FileProblem::ReadFailed:
        return tr("无法读取文件 \"%1\"：%2").arg(path, systemReason(error.errorNumber()));
    case FileProblem::NotPlainFile:
        return tr("无法读取文件 \"%1\"：不是普通文件。").arg(path);
    case FileProblem::NotFound:
        return tr("找不到 \"%1\"。").arg(path);
    case FileProblem::MovedCopyKept:
        return tr("已将 \"%1\" 复制到 \"%2\"，但无法删除原来的文件。").arg(path, error.otherPath());
    case FileProblem::MoveFailed:
        return tr("无法移动 \"%1\"。").arg(path);
    case FileProblem::NoFreeName:
        return tr("无法移动 \"%1\"：没有可用的名称。").arg(path);
    }
    return QString::fromUtf8(error.what());
}

QString errorText(const PictureError& error) {
    const QString problem = pictureProblemText(error);
    const bool namesItsFormat =
        error.problem() == PictureProblem::Damaged || error.problem() == PictureProblem::Unreadable;
    if (error.format() == PictureKind::None || namesItsFormat)
        return problem;
    return tr("%1 文件无法解码：%2").arg(formatName(error.format()), problem);
}

QString errorText(const std::exception& error) {
    if (const auto* file = dynamic_cast<const FileError*>(&error))
        return errorText(*file);
    if (const auto* picture = dynamic_cast<const PictureError*>(&error))
        return errorText(*picture);
    return QString::fromUtf8(error.what());
}
