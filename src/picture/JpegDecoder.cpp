// JPEG through libjpeg(-turbo), with DCT scaling for thumbnails.

#include "picture/Picture.h"

#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

namespace {
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    // Set where the decoder is stopped by us rather than by libjpeg.
    PictureProblem stoppedFor = PictureProblem::Undecodable;
};

void exitWithError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void ignoreMessage(j_common_ptr) {}

// A progressive file may repeat scans without end, each costing a pass over every block:
// ordinary encoders write about ten.
constexpr int kMostScans = 64;
// What libjpeg may allocate besides the output: a progressive file keeps every coefficient of
// the picture (128 bytes a block), which reaches hundreds of megabytes for large sizes.
constexpr long kWorkingMemory = 128L * 1024 * 1024;

struct Progress {
    jpeg_progress_mgr base;
    const std::atomic<bool>* cancelled = nullptr;
};

void checkProgress(j_common_ptr common) {
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    const auto* progress = reinterpret_cast<const Progress*>(common->progress);
    if (info->input_scan_number > kMostScans) {
        reinterpret_cast<ErrorManager*>(common->err)->stoppedFor = PictureProblem::TooManyScans;
        std::longjmp(reinterpret_cast<ErrorManager*>(common->err)->jump, 2);
    }
    if (progress->cancelled && progress->cancelled->load()) {
        reinterpret_cast<ErrorManager*>(common->err)->stoppedFor = PictureProblem::Cancelled;
        std::longjmp(reinterpret_cast<ErrorManager*>(common->err)->jump, 2);
    }
}

// The largest scale_denom (1, 2, 4 or 8) that keeps both sides at least `atLeast`.
unsigned int chooseDenominator(QSize full, QSize atLeast) {
    if (atLeast.isEmpty())
        return 1;
    unsigned int denominator = 1;
    for (unsigned int next : {2u, 4u, 8u}) {
        // libjpeg rounds scaled sizes up.
        const qint64 w = (full.width() + next - 1) / next;
        const qint64 h = (full.height() + next - 1) / next;
        if (w < atLeast.width() || h < atLeast.height())
            break;
        denominator = next;
    }
    return denominator;
}

// Raises the denominator until the output stays within the decoding budget.
unsigned int fitDenominator(QSize full, unsigned int denominator) {
    while (denominator < 8) {
        const qint64 w = (full.width() + denominator - 1) / denominator;
        const qint64 h = (full.height() + denominator - 1) / denominator;
        if (w * h <= MaxDecodedPixels)
            break;
        denominator *= 2;
    }
    return denominator;
}

// The state that must survive a longjmp lives here, outside the function that calls setjmp.
struct JpegJob {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    Progress progress{};
    QImage image;
    QSize pictureSize;
    std::optional<PictureError> failure;
};

bool runDecoder(JpegJob& job, const QByteArray& bytes, const std::function<QSize(QSize)>& targetFor,
                const std::atomic<bool>* cancelled) {
    jpeg_decompress_struct& info = job.info;
    info.err = jpeg_std_error(&job.errors.base);
    job.errors.base.error_exit = exitWithError;
    job.errors.base.output_message = ignoreMessage;
    if (setjmp(job.errors.jump)) {
        // Past the working memory libjpeg asks for a backing store, which it does not have.
        const ErrorManager& errors = job.errors;
        if (errors.stoppedFor == PictureProblem::TooManyScans)
            job.failure = PictureError(PictureProblem::TooManyScans, PictureKind::Jpeg,
                                       QString::number(kMostScans));
        else if (errors.stoppedFor != PictureProblem::Undecodable)
            job.failure = PictureError(errors.stoppedFor, PictureKind::Jpeg);
        else if (errors.base.msg_code == JERR_NO_BACKING_STORE)
            job.failure = PictureError(PictureProblem::TooLarge, PictureKind::Jpeg, QString(),
                                       job.pictureSize);
        else
            job.failure = PictureError(PictureProblem::Undecodable, PictureKind::Jpeg,
                                       QString::fromLocal8Bit(errors.message));
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kWorkingMemory;
    job.progress.base.progress_monitor = checkProgress;
    job.progress.cancelled = cancelled;
    info.progress = &job.progress.base;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    job.pictureSize =
        QSize(static_cast<int>(info.image_width), static_cast<int>(info.image_height));
    try {
        checkPictureSize(info.image_width, info.image_height, MaxDeclaredPixels);
    } catch (const PictureError& error) {
        job.failure = error.inFormat(PictureKind::Jpeg);
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    info.scale_num = 1;
    info.scale_denom = fitDenominator(
        job.pictureSize,
        chooseDenominator(job.pictureSize, targetFor ? targetFor(job.pictureSize) : QSize()));
    info.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&info);

    job.image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                       QImage::Format_RGB32);
    if (job.image.isNull()) {
        job.failure = PictureError(PictureProblem::OutOfMemory, PictureKind::Jpeg);
        jpeg_destroy_decompress(&info);
        return false;
    }
    // Adobe writes CMYK inverted; such files carry its marker.
    const bool inverted = info.saw_Adobe_marker;
    while (info.output_scanline < info.output_height) {
        auto* line = job.image.scanLine(static_cast<int>(info.output_scanline));
        JSAMPROW row = line;
        jpeg_read_scanlines(&info, &row, 1);
        if (cmyk) {
            auto* pixels = reinterpret_cast<QRgb*>(line);
            for (int x = static_cast<int>(info.output_width) - 1; x >= 0; --x) {
                const uchar* p = line + x * 4;
                int c = p[0], m = p[1], y = p[2], k = p[3];
                if (!inverted) {
                    c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
                }
                pixels[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}
} // namespace

DecodedPicture decodeJpeg(const QByteArray& bytes, const std::function<QSize(QSize)>& targetFor,
                          const std::atomic<bool>* cancelled) {
    JpegJob job;
    if (!runDecoder(job, bytes, targetFor, cancelled))
        throw *job.failure;
    return {job.image, job.pictureSize};
}
