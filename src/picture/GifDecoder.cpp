// GIF through giflib, record by record: every frame is checked against the pixel budget before
// anything is allocated for it (DGifSlurp would allocate each frame's full declared size).

#include "picture/Picture.h"

#include <gif_lib.h>

#include <cstring>
#include <memory>

namespace {
// What an animation may cost, counted in pixels: every pixel decoded for a frame, and every
// pixel of the canvas copied or shrunk to keep a frame. About half a second on a slow machine;
// an animation past it ends early with the frames it has.
constexpr qint64 kAnimationWorkBudget = 4 * MaxDecodedPixels;
// What the kept frames and the canvas may hold together.
constexpr qint64 kAnimationMemoryBudget = MaxDecodedPixels;

struct MemoryReader {
    const QByteArray* bytes;
    qsizetype position = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* buffer, int length) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const qsizetype available = reader->bytes->size() - reader->position;
    const int count = static_cast<int>(std::min<qsizetype>(length, available));
    std::memcpy(buffer, reader->bytes->constData() + reader->position, static_cast<size_t>(count));
    reader->position += count;
    return count;
}

// What giflib says went wrong.
PictureError gifError(int code) {
    const char* text = GifErrorString(code);
    return PictureError(PictureProblem::Undecodable, PictureKind::Gif,
                        text ? QString::fromLatin1(text) : QStringLiteral("error %1").arg(code));
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

QRgb paletteColour(const ColorMapObject* map, int index) {
    const GifColorType& c = map->Colors[index];
    return qRgb(c.Red, c.Green, c.Blue);
}

struct FrameControl {
    int delayMs = 0;
    int disposal = 0;
    int transparent = -1;
};
} // namespace

namespace {
// Reads the records one after another, composing each frame on the canvas.
class GifReader {
public:
    GifReader(GifFileType* gif, bool firstFrameOnly, const FrameFitting& fitting)
        : gif_(gif), firstFrameOnly_(firstFrameOnly), fitting_(fitting),
          screen_(gif->SWidth, gif->SHeight) {
        const ColorMapObject* global = gif->SColorMap;
        background_ = global && gif->SBackGroundColor < global->ColorCount
                          ? paletteColour(global, gif->SBackGroundColor)
                          : qRgb(255, 255, 255);
    }

    GifAnimation read() {
        while (!done_) {
            GifRecordType record = UNDEFINED_RECORD_TYPE;
            if (DGifGetRecordType(gif_, &record) == GIF_ERROR) {
                fail(gifError(gif_->Error));
                break;
            }
            if (record == EXTENSION_RECORD_TYPE)
                readExtension();
            else if (record == IMAGE_DESC_RECORD_TYPE)
                readFrame();
            else if (record == TERMINATE_RECORD_TYPE)
                done_ = true;
        }
        if (animation_.frames.isEmpty())
            throw failure_ ? *failure_
                           : PictureError(PictureProblem::Undecodable, PictureKind::Gif);
        return std::move(animation_);
    }

private:
    void fail(const PictureError& why) {
        failure_ = why;
        done_ = true;
    }

    void readExtension() {
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif_, &code, &block) == GIF_ERROR) {
            fail(gifError(gif_->Error));
            return;
        }
        // A control block of another length is ignored as a whole: read anyway, its zeroed
        // fields would make colour 0 transparent.
        GraphicsControlBlock gcb{};
        if (code == GRAPHICS_EXT_FUNC_CODE && block &&
            DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
            control_ = {gcb.DelayTime * 10, gcb.DisposalMode, gcb.TransparentColor};
        while (block) {
            if (DGifGetExtensionNext(gif_, &block) == GIF_ERROR) {
                fail(gifError(gif_->Error));
                return;
            }
        }
    }

    void readFrame() {
        if (fitting_.cancelled && fitting_.cancelled->load())
            throw PictureError(PictureProblem::Cancelled);
        if (DGifGetImageDesc(gif_) == GIF_ERROR) {
            fail(gifError(gif_->Error));
            return;
        }
        const GifImageDesc& desc = gif_->Image;
        try {
            checkPictureSize(desc.Width, desc.Height);
            if (canvas_.isNull())
                makeCanvas(desc);
        } catch (const PictureError& e) {
            fail(e.inFormat(PictureKind::Gif));
            return;
        }
        const qint64 framePixels = qint64(desc.Width) * desc.Height;
        if (!animation_.frames.isEmpty() && work_ + framePixels > kAnimationWorkBudget) {
            done_ = true; // past the budget: the animation ends with the frames it has
            return;
        }
        work_ += framePixels;
        const QRect area = QRect(desc.Left, desc.Top, desc.Width, desc.Height) & canvas_.rect();
        const QImage covered = control_.disposal == 3 ? canvas_.copy(area) : QImage();
        const bool complete = drawFrame(desc);
        keepFrame();
        // A truncated frame still shows what arrived of it, but ends the picture.
        if (!complete || firstFrameOnly_)
            done_ = true;
        if (done_)
            return;
        if (control_.disposal == 2)
            fillArea(area, qRgba(0, 0, 0, 0));
        else if (control_.disposal == 3)
            restoreArea(area, covered);
        control_ = {};
    }

    // A screen smaller than the first frame (or none at all) grows to hold it.
    void makeCanvas(const GifImageDesc& desc) {
        screen_ = screen_.expandedTo(QSize(desc.Left + desc.Width, desc.Top + desc.Height));
        checkPictureSize(screen_.width(), screen_.height());
        animation_.screen = screen_;
        // Every pixel is opaque or fully transparent, so premultiplied values are the plain
        // ones; shrinking such a canvas needs no converted copy.
        canvas_ = QImage(screen_, QImage::Format_ARGB32_Premultiplied);
        if (canvas_.isNull())
            throw PictureError(PictureProblem::OutOfMemory);
        canvas_.fill(firstFrameOnly_ ? background_ : qRgba(0, 0, 0, 0));
        held_ = qint64(screen_.width()) * screen_.height();
    }

    // Decodes the frame's rows onto the canvas; false when its data ended early.
    bool drawFrame(const GifImageDesc& desc) {
        const ColorMapObject* palette = desc.ColorMap ? desc.ColorMap : gif_->SColorMap;
        line_.resize(static_cast<size_t>(desc.Width));
        auto drawRow = [&](int y) {
            if (DGifGetLine(gif_, line_.data(), desc.Width) == GIF_ERROR) {
                failure_ = gifError(gif_->Error);
                return false;
            }
            const int canvasY = desc.Top + y;
            if (canvasY < 0 || canvasY >= canvas_.height() || !palette)
                return true;
            auto* out = reinterpret_cast<QRgb*>(canvas_.scanLine(canvasY));
            const int width = std::min(desc.Width, canvas_.width() - desc.Left);
            for (int x = 0; x < width; ++x) {
                const int index = line_[static_cast<size_t>(x)];
                if (index != control_.transparent && index < palette->ColorCount)
                    out[desc.Left + x] = paletteColour(palette, index);
            }
            return true;
        };
        if (!desc.Interlace) {
            for (int y = 0; y < desc.Height; ++y)
                if (!drawRow(y))
                    return false;
            return true;
        }
        const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = starts[pass]; y < desc.Height; y += steps[pass])
                if (!drawRow(y))
                    return false;
        return true;
    }

    // Keeps the canvas as the next frame: shrunk to the box when one is asked for, copied while
    // the memory allows, otherwise the canvas itself, which ends the animation.
    void keepFrame() {
        const qint64 canvasPixels = qint64(screen_.width()) * screen_.height();
        const QSize box = fitting_.box;
        if (!box.isEmpty() && (screen_.width() > box.width() || screen_.height() > box.height())) {
            // A very long or very tall canvas still keeps a side of one pixel.
            const QSize fittedSize =
                screen_.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
            const qint64 fittedPixels = qint64(fittedSize.width()) * fittedSize.height();
            if (!animation_.frames.isEmpty() && held_ + fittedPixels > kAnimationMemoryBudget) {
                done_ = true;
                return;
            }
            // A canvas many times the box is first sampled down to twice its size: smoothing
            // every pixel of a huge canvas for each frame would cost seconds.
            const QSize twice = fittedSize * 2;
            const qint64 sampled = std::min(canvasPixels, 4 * fittedPixels);
            animation_.frames << (canvasPixels > 4 * fittedPixels
                                      ? shrinkPicture(canvas_.scaled(twice, Qt::IgnoreAspectRatio,
                                                                     Qt::FastTransformation),
                                                      fittedSize)
                                      : shrinkPicture(canvas_, fittedSize));
            animation_.delaysMs << control_.delayMs;
            work_ += sampled;
            held_ += fittedPixels;
            return;
        }
        animation_.delaysMs << control_.delayMs;
        if (firstFrameOnly_ || held_ + canvasPixels > kAnimationMemoryBudget ||
            work_ + canvasPixels > kAnimationWorkBudget) {
            animation_.frames << std::move(canvas_);
            canvas_ = QImage();
            done_ = true;
            return;
        }
        animation_.frames << canvas_.copy();
        work_ += canvasPixels;
        held_ += canvasPixels;
    }

    void fillArea(const QRect& area, QRgb colour) {
        for (int y = area.top(); y <= area.bottom(); ++y)
            std::fill_n(reinterpret_cast<QRgb*>(canvas_.scanLine(y)) + area.left(), area.width(),
                        colour);
    }

    void restoreArea(const QRect& area, const QImage& covered) {
        for (int y = 0; y < covered.height(); ++y)
            std::memcpy(reinterpret_cast<QRgb*>(canvas_.scanLine(area.top() + y)) + area.left(),
                        covered.constScanLine(y), static_cast<size_t>(area.width()) * 4);
    }

    GifFileType* gif_;
    bool firstFrameOnly_;
    FrameFitting fitting_;
    QSize screen_;
    QRgb background_;
    GifAnimation animation_;
    QImage canvas_;
    FrameControl control_;
    qint64 work_ = 0; // pixels decoded, copied or shrunk so far
    qint64 held_ = 0; // pixels of the canvas and the kept frames
    std::optional<PictureError> failure_;
    std::vector<GifPixelType> line_;
    bool done_ = false;
};
} // namespace

GifAnimation decodeGif(const QByteArray& bytes, bool firstFrameOnly, const FrameFitting& fitting) {
    MemoryReader reader{&bytes};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, readFromMemory, &error));
    if (!gif)
        throw gifError(error);
    return GifReader(gif.get(), firstFrameOnly, fitting).read();
}
