// Any bytes as a picture's cache file with the picture's time: read as a thumbnail of at most
// 40x40, or not at all; sent back for making only when empty (what a crash leaves).

#include "FuzzSupport.h"

#include "platform/FileSystem.h"
#include "thumbnails/ThumbnailCache.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString picture = scratchFolder() + "/picture.png";
    const QString cacheFile = thumbnailPath(picture);
    QFile(picture).open(QIODevice::WriteOnly);
    QFile file(cacheFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();
    const auto time = fileWriteTime(picture);
    if (!time || !setFileWriteTime(cacheFile, *time))
        return 0;

    ThumbnailCache cache;
    const ThumbnailLookup found = cache.lookUp(picture);
    FUZZ_CHECK((found.state == ThumbnailLookup::State::NeedsMaking) == (size == 0));
    if (found.state == ThumbnailLookup::State::Ready) {
        FUZZ_CHECK(!found.thumbnail.isNull());
        FUZZ_CHECK(found.thumbnail.width() <= 40 && found.thumbnail.height() <= 40);
    } else {
        FUZZ_CHECK(found.thumbnail.isNull());
    }
    return 0;
}
