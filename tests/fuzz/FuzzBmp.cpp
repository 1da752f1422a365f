// BMP files: decoded within the budget, and what decodes survives writing and reading again.
// A budget of 4 megapixels (the program's is 32) keeps each run short, so that the fuzzer
// tries many more files in its time.

#include "FuzzSupport.h"

#include "picture/Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr qint64 budget = 4 << 20;
    QImage image;
    try {
        image = decodeBmp(fuzzBytes(data, size), budget);
    } catch (const PictureError&) {
        return 0;
    }
    FUZZ_CHECK(!image.isNull());
    FUZZ_CHECK(qint64(image.width()) * image.height() <= budget);
    if (qint64(image.width()) * image.height() > 4096)
        return 0;
    const QImage again = decodeBmp(encodeBmp(image));
    FUZZ_CHECK(again.size() == image.size());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            FUZZ_CHECK((again.pixel(x, y) & 0xFFFFFF) == (image.pixel(x, y) & 0xFFFFFF));
    return 0;
}
