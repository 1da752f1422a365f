// JPEG files: the output stays within the budget, and a reduced decode still covers the size
// asked for.

#include "FuzzSupport.h"

#include "picture/Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    auto check = [](const DecodedPicture& decoded) {
        FUZZ_CHECK(!decoded.image.isNull());
        FUZZ_CHECK(qint64(decoded.image.width()) * decoded.image.height() <= MaxDecodedPixels);
        FUZZ_CHECK(qint64(decoded.pictureSize.width()) * decoded.pictureSize.height() <=
                   MaxDeclaredPixels);
        FUZZ_CHECK(decoded.image.width() <= decoded.pictureSize.width());
        FUZZ_CHECK(decoded.image.height() <= decoded.pictureSize.height());
    };
    try {
        check(decodeJpeg(bytes));
    } catch (const PictureError&) {
    }
    try {
        QSize asked;
        const DecodedPicture reduced = decodeJpeg(bytes, [&asked](QSize picture) {
            asked = picture.scaled(40, 40, Qt::KeepAspectRatio).boundedTo(picture);
            return asked;
        });
        check(reduced);
        FUZZ_CHECK(reduced.image.width() >= asked.width());
        FUZZ_CHECK(reduced.image.height() >= asked.height());
    } catch (const PictureError&) {
    }
    return 0;
}
