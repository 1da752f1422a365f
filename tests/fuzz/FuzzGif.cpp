// GIF files, as the thumbnail's first frame, as the whole animation and as the preview's fitted
// frames: one delay a frame, frames the size of the canvas (or within the box), and all the
// kept frames within the budget.

#include "FuzzSupport.h"

#include "picture/Picture.h"

namespace {
qint64 pixelsOf(const QList<QImage>& frames) {
    qint64 pixels = 0;
    for (const QImage& frame : frames)
        pixels += qint64(frame.width()) * frame.height();
    return pixels;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    try {
        const GifAnimation first = decodeGif(bytes, true);
        FUZZ_CHECK(first.frames.size() == 1);
        FUZZ_CHECK(first.frames.first().size() == first.screen);
    } catch (const PictureError&) {
    }
    try {
        const GifAnimation all = decodeGif(bytes, false);
        FUZZ_CHECK(!all.frames.isEmpty());
        FUZZ_CHECK(all.frames.size() == all.delaysMs.size());
        for (const QImage& frame : all.frames)
            FUZZ_CHECK(frame.size() == all.screen);
        FUZZ_CHECK(pixelsOf(all.frames) <= MaxDecodedPixels);
    } catch (const PictureError&) {
    }
    try {
        const QSize box(64, 64);
        const GifAnimation fitted = decodeGif(bytes, false, FrameFitting{box, nullptr});
        FUZZ_CHECK(fitted.frames.size() == fitted.delaysMs.size());
        const QSize shown =
            fitted.screen.width() > box.width() || fitted.screen.height() > box.height()
                ? fitted.screen.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1))
                : fitted.screen;
        for (const QImage& frame : fitted.frames) {
            if (frame.size() != shown)
                std::fprintf(stderr, "screen %dx%d, frame %dx%d\n", fitted.screen.width(),
                             fitted.screen.height(), frame.width(), frame.height());
            FUZZ_CHECK(frame.size() == shown);
        }
    } catch (const PictureError&) {
    }
    return 0;
}
