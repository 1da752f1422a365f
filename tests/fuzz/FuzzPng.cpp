// PNG files: decoded within the budget, into 32-bit pixels with alpha.

#include "FuzzSupport.h"

#include "picture/Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const QImage image = decodePng(fuzzBytes(data, size));
        FUZZ_CHECK(!image.isNull());
        FUZZ_CHECK(image.format() == QImage::Format_ARGB32);
        FUZZ_CHECK(qint64(image.width()) * image.height() <= MaxDecodedPixels);
    } catch (const PictureError&) {
    }
    return 0;
}
