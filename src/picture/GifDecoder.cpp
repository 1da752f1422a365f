// GIF through giflib, record by record: every frame is checked against the pixel budget before
// anything is allocated for it (DGifSlurp would allocate each frame's full declared size).

#include "picture/Picture.h"

#include <gif_lib.h>

#include <cstring>
#include <memory>

namespace {
// Total pixels of all composed frames that an animation may hold; later frames are dropped.
constexpr qint64 kAnimationPixelBudget = MaxPicturePixels;

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

QString errorText(int code) {
    const char* text = GifErrorString(code);
    return text ? QString::fromLatin1(text) : QStringLiteral("error %1").arg(code);
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

GifAnimation decodeGif(const QByteArray& bytes, bool firstFrameOnly) {
    MemoryReader reader{&bytes};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, readFromMemory, &error));
    if (!gif)
        throw PictureError(QStringLiteral("GIF 文件无法解码：%1").arg(errorText(error)));

    GifAnimation animation;
    QSize screen(gif->SWidth, gif->SHeight);
    const ColorMapObject* global = gif->SColorMap;
    const bool hasBackground = global && gif->SBackGroundColor < global->ColorCount;
    const QRgb background =
        hasBackground ? paletteColour(global, gif->SBackGroundColor) : qRgb(255, 255, 255);

    QImage canvas;
    FrameControl control;
    qint64 pixelsHeld = 0;
    QString failure;
    std::vector<GifPixelType> line;

    for (bool done = false; !done;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) {
            failure = errorText(gif->Error);
            break;
        }
        switch (record) {
        case EXTENSION_RECORD_TYPE: {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) {
                failure = errorText(gif->Error);
                done = true;
                break;
            }
            // A control block of another length is ignored as a whole: read anyway, its
            // zeroed fields would make colour 0 transparent.
            GraphicsControlBlock gcb{};
            if (code == GRAPHICS_EXT_FUNC_CODE && block &&
                DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
                control = {gcb.DelayTime * 10, gcb.DisposalMode, gcb.TransparentColor};
            while (block) {
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) {
                    failure = errorText(gif->Error);
                    done = true;
                    break;
                }
            }
            break;
        }
        case IMAGE_DESC_RECORD_TYPE: {
            if (DGifGetImageDesc(gif.get()) == GIF_ERROR) {
                failure = errorText(gif->Error);
                done = true;
                break;
            }
            const GifImageDesc& desc = gif->Image;
            try {
                checkPictureSize(desc.Width, desc.Height);
                if (canvas.isNull()) {
                    // A screen smaller than the first frame (or none at all) grows to hold it.
                    screen =
                        screen.expandedTo(QSize(desc.Left + desc.Width, desc.Top + desc.Height));
                    checkPictureSize(screen.width(), screen.height());
                    animation.screen = screen;
                    canvas = QImage(screen, QImage::Format_ARGB32);
                    if (canvas.isNull())
                        throw PictureError(QStringLiteral("内存不足。"));
                    canvas.fill(firstFrameOnly ? background : qRgba(0, 0, 0, 0));
                }
            } catch (const PictureError& e) {
                failure = QString::fromStdString(e.what());
                done = true;
                break;
            }
            const ColorMapObject* palette = desc.ColorMap ? desc.ColorMap : global;
            const QImage before = control.disposal == 3 ? canvas.copy() : QImage();
            line.resize(static_cast<size_t>(desc.Width));
            QList<int> rows;
            if (desc.Interlace) {
                const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
                for (int pass = 0; pass < 4; ++pass)
                    for (int y = starts[pass]; y < desc.Height; y += steps[pass])
                        rows << y;
            } else {
                for (int y = 0; y < desc.Height; ++y)
                    rows << y;
            }
            bool frameComplete = true;
            for (int y : rows) {
                if (DGifGetLine(gif.get(), line.data(), desc.Width) == GIF_ERROR) {
                    failure = errorText(gif->Error);
                    frameComplete = false;
                    break;
                }
                const int canvasY = desc.Top + y;
                if (canvasY < 0 || canvasY >= canvas.height() || !palette)
                    continue;
                auto* out = reinterpret_cast<QRgb*>(canvas.scanLine(canvasY));
                for (int x = 0; x < desc.Width; ++x) {
                    const int canvasX = desc.Left + x;
                    const int index = line[static_cast<size_t>(x)];
                    if (canvasX >= canvas.width() || index == control.transparent ||
                        index >= palette->ColorCount)
                        continue;
                    out[canvasX] = paletteColour(palette, index);
                }
            }
            // A truncated frame still shows what arrived of it, but ends the picture.
            const qint64 framePixels = qint64(screen.width()) * screen.height();
            if (animation.frames.isEmpty() || pixelsHeld + framePixels <= kAnimationPixelBudget) {
                animation.frames << canvas.copy();
                animation.delaysMs << control.delayMs;
                pixelsHeld += framePixels;
            }
            if (!frameComplete || firstFrameOnly) {
                done = true;
                break;
            }
            if (control.disposal == 2) {
                const QRect area =
                    QRect(desc.Left, desc.Top, desc.Width, desc.Height) & canvas.rect();
                for (int y = area.top(); y <= area.bottom(); ++y)
                    std::fill_n(reinterpret_cast<QRgb*>(canvas.scanLine(y)) + area.left(),
                                area.width(), qRgba(0, 0, 0, 0));
            } else if (control.disposal == 3) {
                canvas = before;
            }
            control = {};
            break;
        }
        case TERMINATE_RECORD_TYPE:
            done = true;
            break;
        default:
            break;
        }
    }
    if (animation.frames.isEmpty())
        throw PictureError(QStringLiteral("GIF 文件无法解码：%1")
                               .arg(failure.isEmpty() ? QStringLiteral("没有图像") : failure));
    return animation;
}
