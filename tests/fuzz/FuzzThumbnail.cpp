// Any file under a picture's name (the first byte picks the extension): a thumbnail, when one
// is made, fits 40x40, and the cache file written for it reads back as the same thumbnail.

#include "FuzzSupport.h"

#include "thumbnails/ThumbnailCache.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static const char* const extensions[] = {".bmp", ".jpg", ".png", ".gif"};
    const QString path = scratchFolder() + "/picture" + extensions[data[0] % 4];
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data + 1), static_cast<qint64>(size - 1));
    file.close();
    QFile::remove(thumbnailPath(path));

    ThumbnailCache cache;
    const QImage thumbnail = cache.thumbnail(path);
    if (!thumbnail.isNull()) {
        FUZZ_CHECK(thumbnail.width() <= 40 && thumbnail.height() <= 40);
        ThumbnailCache fresh;
        const ThumbnailLookup again = fresh.lookUp(path);
        FUZZ_CHECK(again.state == ThumbnailLookup::State::Ready);
        FUZZ_CHECK(again.thumbnail.size() == thumbnail.size());
        for (int y = 0; y < thumbnail.height(); ++y)
            for (int x = 0; x < thumbnail.width(); ++x)
                FUZZ_CHECK((again.thumbnail.pixel(x, y) & 0xFFFFFF) ==
                           (thumbnail.pixel(x, y) & 0xFFFFFF));
    }
    QFile::remove(path);
    QFile::remove(thumbnailPath(path));
    return 0;
}
