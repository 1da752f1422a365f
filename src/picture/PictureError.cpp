#include "picture/Picture.h"

namespace {
const char* problemName(PictureProblem problem) {
    switch (problem) {
    case PictureProblem::Damaged:
        return "damaged";
    case PictureProblem::Undecodable:
        return "cannot be decoded";
    case PictureProblem::UnsupportedCompression:
        return "compression not supported";
    case PictureProblem::UnsupportedDepth:
        return "pixel depth not supported";
    case PictureProblem::OutOfMemory:
        return "out of memory";
    case PictureProblem::Cancelled:
        return "cancelled";
    case PictureProblem::InvalidSize:
        return "invalid size";
    case PictureProblem::TooLarge:
        return "too large";
    case PictureProblem::TooManyScans:
        return "too many scans";
    case PictureProblem::UnsupportedFormat:
        return "format not supported";
    case PictureProblem::Unreadable:
        return "unreadable";
    }
    return "picture error";
}

std::string logLine(PictureProblem problem, PictureKind format, const QString& detail, QSize size) {
    const char* name = format == PictureKind::None ? "picture" : pictureFormatName(format);
    std::string line = std::string(name) + ": " + problemName(problem);
    if (size.isValid())
        line += " (" + std::to_string(size.width()) + "x" + std::to_string(size.height()) + ")";
    if (!detail.isEmpty())
        line += ": " + detail.toStdString();
    return line;
}
} // namespace

const char* pictureFormatName(PictureKind format) {
    switch (format) {
    case PictureKind::Bmp:
        return "BMP";
    case PictureKind::Jpeg:
        return "JPEG";
    case PictureKind::Gif:
        return "GIF";
    case PictureKind::Png:
        return "PNG";
    case PictureKind::None:
        break;
    }
    return "";
}

PictureError::PictureError(PictureProblem problem, PictureKind format, const QString& detail,
                           QSize size)
    : std::runtime_error(logLine(problem, format, detail, size)), problem_(problem),
      format_(format), detail_(detail), size_(size) {}

PictureError::PictureError(const FileError& unreadable)
    : std::runtime_error(unreadable.what()), problem_(PictureProblem::Unreadable),
      format_(PictureKind::None), fileError_(unreadable) {}

PictureError PictureError::inFormat(PictureKind format) const {
    // An unreadable file is about the file, whatever its format.
    return problem_ == PictureProblem::Unreadable ? *this
                                                  : PictureError(problem_, format, detail_, size_);
}
