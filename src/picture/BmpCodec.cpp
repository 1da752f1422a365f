// Windows BMP: reading the uncompressed forms (1, 4, 8, 16, 24 and 32 bits per pixel, with or
// without bit-field masks, bottom-up or top-down) and the run-length encoded ones (RLE8, RLE4),
// and writing 24-bit files.

#include "picture/Picture.h"

#include <QtEndian>

#include <bit>

namespace {
quint32 u32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
qint32 i32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<qint32>(b.constData() + at);
}
quint16 u16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}

// Scales a masked channel value to 0..255.
int channel(quint32 pixel, quint32 mask) {
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const quint32 max = mask >> shift;
    return static_cast<int>(((pixel & mask) >> shift) * 255 / max);
}

[[noreturn]] void throwDamaged() {
    throw PictureError(PictureProblem::Damaged, PictureKind::Bmp);
}

// Expands RLE8 (`bits` 8) or RLE4 (`bits` 4) data into one palette index per pixel, rows from
// the bottom. Runs past the right edge are cut, rows past the top are dropped, and data that
// ends early leaves the rest at index 0: the work is bounded by the picture's size.
QByteArray expandRunLengths(const QByteArray& b, qsizetype at, int bits, qint64 width,
                            qint64 height) {
    QByteArray indices(width * height, '\0');
    auto* out = reinterpret_cast<uchar*>(indices.data());
    const auto* data = reinterpret_cast<const uchar*>(b.constData());
    const qsizetype end = b.size();
    qint64 x = 0;
    qint64 y = 0;
    auto put = [&](uchar index) {
        if (x < width && y < height)
            out[y * width + x] = index;
        ++x;
    };
    while (at + 1 < end && y < height) {
        const int count = data[at];
        const uchar value = data[at + 1];
        at += 2;
        if (count > 0) { // a run of `count` pixels
            for (int i = 0; i < count && x < width; ++i)
                put(bits == 8 ? value : (i % 2 == 0 ? value >> 4 : value & 0x0F));
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of picture
            break;
        } else if (value == 2) { // move right and up
            if (at + 1 >= end)
                break;
            x += data[at];
            y += data[at + 1];
            at += 2;
        } else { // `value` pixels given one by one, padded to a 16-bit boundary
            const qsizetype bytes = bits == 8 ? value : (value + 1) / 2;
            if (at + bytes > end)
                break;
            for (int i = 0; i < value; ++i) {
                const uchar byte = data[at + (bits == 8 ? i : i / 2)];
                put(bits == 8 ? byte : (i % 2 == 0 ? byte >> 4 : byte & 0x0F));
            }
            at += bytes + (bytes % 2);
        }
    }
    return indices;
}
// What the file and info headers say.
struct BmpHeader {
    quint32 dataOffset = 0;
    quint32 headerSize = 0;
    qint64 width = 0;
    qint64 height = 0; // negative: the rows are stored top down
    int bits = 0;
    quint32 compression = 0;
    quint32 paletteCount = 0;
    int paletteEntrySize = 4;
    quint32 masks[4] = {0, 0, 0, 0}; // red, green, blue, alpha
    bool runLengths() const {
        return (compression == 1 && bits == 8) || (compression == 2 && bits == 4);
    }
};

BmpHeader readHeader(const QByteArray& b) {
    if (b.size() < 14 + 12 || b[0] != 'B' || b[1] != 'M')
        throwDamaged();
    BmpHeader h;
    h.dataOffset = u32(b, 10);
    h.headerSize = u32(b, 14);
    if (h.headerSize == 12) { // OS/2 core header
        h.width = u16(b, 18);
        h.height = static_cast<qint16>(u16(b, 20));
        h.bits = u16(b, 24);
        h.paletteEntrySize = 3;
    } else if (h.headerSize >= 40 && b.size() >= 14 + 40) {
        h.width = i32(b, 18);
        h.height = i32(b, 22);
        h.bits = u16(b, 28);
        h.compression = u32(b, 30);
        h.paletteCount = u32(b, 46);
        if (h.compression == 3 || h.compression == 6) { // bit fields
            const qsizetype maskAt = 54;                // inside a V2+ header, else right after it
            if (b.size() < maskAt + 12)
                throwDamaged();
            for (int i = 0; i < 3; ++i)
                h.masks[i] = u32(b, maskAt + 4 * i);
            if (h.headerSize >= 56 || h.compression == 6)
                h.masks[3] = b.size() >= maskAt + 16 ? u32(b, maskAt + 12) : 0;
        }
    } else {
        throwDamaged();
    }
    if (h.compression != 0 && h.compression != 3 && h.compression != 6 && !h.runLengths())
        throw PictureError(PictureProblem::UnsupportedCompression);
    if ((h.bits == 16 || h.bits == 32) && h.compression == 0) {
        h.masks[0] = h.bits == 16 ? 0x7C00 : 0xFF0000;
        h.masks[1] = h.bits == 16 ? 0x03E0 : 0x00FF00;
        h.masks[2] = h.bits == 16 ? 0x001F : 0x0000FF;
    }
    return h;
}

QList<QRgb> readPalette(const QByteArray& b, const BmpHeader& h) {
    QList<QRgb> palette;
    if (h.bits > 8)
        return palette;
    const qsizetype count =
        h.paletteCount ? std::min<quint32>(h.paletteCount, 256) : (1u << h.bits);
    const qsizetype at = 14 + h.headerSize;
    for (qsizetype i = 0; i < count && at + i * h.paletteEntrySize + 3 <= b.size(); ++i) {
        const auto* p = reinterpret_cast<const uchar*>(b.constData() + at + i * h.paletteEntrySize);
        palette << qRgb(p[2], p[1], p[0]);
    }
    return palette;
}

QImage newImage(qint64 width, qint64 height, QImage::Format format) {
    QImage image(static_cast<int>(width), static_cast<int>(height), format);
    if (image.isNull())
        throw PictureError(PictureProblem::OutOfMemory);
    return image;
}

QImage decodeRunLengths(const QByteArray& b, const BmpHeader& h, qint64 height,
                        const QList<QRgb>& palette) {
    if (h.dataOffset > static_cast<quint64>(b.size()))
        throwDamaged();
    const qint64 width = h.width;
    const QByteArray indices = expandRunLengths(b, h.dataOffset, h.bits, width, height);
    QImage image = newImage(width, height, QImage::Format_RGB32);
    for (qint64 row = 0; row < height; ++row) {
        const auto* src = reinterpret_cast<const uchar*>(indices.constData() + row * width);
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(height - 1 - row)));
        for (qint64 x = 0; x < width; ++x)
            dst[x] = src[x] < palette.size() ? palette[src[x]] : qRgb(0, 0, 0);
    }
    return image;
}

QImage decodeRows(const QByteArray& b, const BmpHeader& h, qint64 height,
                  const QList<QRgb>& palette) {
    const qint64 width = h.width;
    const int bits = h.bits;
    const qint64 stride = ((width * bits + 31) / 32) * 4;
    if (h.dataOffset > static_cast<quint64>(b.size()) ||
        stride * height > b.size() - qint64(h.dataOffset))
        throwDamaged();
    const bool hasAlpha = h.masks[3] != 0;
    const bool topDown = h.height < 0;
    QImage image = newImage(width, height, hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (qint64 row = 0; row < height; ++row) {
        const auto* src =
            reinterpret_cast<const uchar*>(b.constData() + h.dataOffset + row * stride);
        auto* dst = reinterpret_cast<QRgb*>(
            image.scanLine(static_cast<int>(topDown ? row : height - 1 - row)));
        for (qint64 x = 0; x < width; ++x) {
            QRgb colour = 0;
            if (bits <= 8) {
                const int perByte = 8 / bits;
                const int shift = 8 - bits * (1 + static_cast<int>(x % perByte));
                const int index = (src[x / perByte] >> shift) & ((1 << bits) - 1);
                colour = index < palette.size() ? palette[index] : qRgb(0, 0, 0);
            } else if (bits == 24) {
                colour = qRgb(src[x * 3 + 2], src[x * 3 + 1], src[x * 3]);
            } else {
                const quint32 pixel = bits == 16 ? qFromLittleEndian<quint16>(src + x * 2)
                                                 : qFromLittleEndian<quint32>(src + x * 4);
                colour =
                    qRgba(channel(pixel, h.masks[0]), channel(pixel, h.masks[1]),
                          channel(pixel, h.masks[2]), hasAlpha ? channel(pixel, h.masks[3]) : 255);
            }
            dst[x] = colour;
        }
    }
    return image;
}
} // namespace

QImage decodeBmp(const QByteArray& b, qint64 mostPixels) {
    const BmpHeader header = readHeader(b);
    const qint64 height = std::abs(header.height);
    checkPictureSize(header.width, height, mostPixels);
    const int bits = header.bits;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        throw PictureError(PictureProblem::UnsupportedDepth);
    const QList<QRgb> palette = readPalette(b, header);
    return header.runLengths() ? decodeRunLengths(b, header, height, palette)
                               : decodeRows(b, header, height, palette);
}

QByteArray encodeBmp(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const qint64 width = image.width();
    const qint64 height = image.height();
    const qint64 stride = ((width * 24 + 31) / 32) * 4;
    const qint64 fileSize = 54 + stride * height;
    QByteArray b(fileSize, '\0');
    auto put32 = [&](qsizetype at, quint32 v) { qToLittleEndian(v, b.data() + at); };
    auto put16 = [&](qsizetype at, quint16 v) { qToLittleEndian(v, b.data() + at); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<quint32>(fileSize));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<quint32>(width));
    put32(22, static_cast<quint32>(height));
    put16(26, 1);
    put16(28, 24);
    put32(34, static_cast<quint32>(stride * height));
    put32(38, 2835); // 72 dpi
    put32(42, 2835);
    for (qint64 row = 0; row < height; ++row) {
        const auto* src =
            reinterpret_cast<const QRgb*>(image.constScanLine(static_cast<int>(height - 1 - row)));
        auto* dst = reinterpret_cast<uchar*>(b.data() + 54 + row * stride);
        for (qint64 x = 0; x < width; ++x) {
            dst[x * 3] = static_cast<uchar>(qBlue(src[x]));
            dst[x * 3 + 1] = static_cast<uchar>(qGreen(src[x]));
            dst[x * 3 + 2] = static_cast<uchar>(qRed(src[x]));
        }
    }
    return b;
}
