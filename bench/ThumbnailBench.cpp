// Thumbnail creation for large pictures against a plain full decode followed by the same
// shrink, a folder's thumbnails at 1x and 2x, and reading a valid cached thumbnail.
#include "FixturePictures.h"

#include "picture/Picture.h"
#include "platform/FileSystem.h"
#include "thumbnails/ThumbnailCache.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
QTemporaryDir& Folder() {
    static QTemporaryDir folder;
    return folder;
}

QString Fixture(const QString& name) {
    const QString path = Folder().path() + "/" + name;
    if (fileExists(path))
        return path;
    if (name == "photo.jpg")
        WriteJpeg(path, TestPattern(QSize(4000, 3000)), false, 85);
    else if (name == "progressive.jpg")
        WriteJpeg(path, TestPattern(QSize(4000, 3000)), true, 85);
    else if (name == "large.png")
        TestPattern(QSize(2000, 1500)).save(path, "PNG");
    else if (name == "anim.gif")
        WriteGif(path, MovingSquareGif(QSize(800, 600), 40));
    return path;
}

void MakeThumbnailFile(benchmark::State& state, const QString& name) {
    const QString path = Fixture(name);
    ThumbnailCache cache;
    for (auto _ : state) {
        deleteTree(thumbnailPath(path));
        cache.clearMemory();
        benchmark::DoNotOptimize(cache.thumbnail(path));
    }
}

void FullDecodeThenShrink(benchmark::State& state, const QString& name) {
    const QString path = Fixture(name);
    for (auto _ : state) {
        QImage image;
        QSize size;
        if (pictureKindOf(path) == PictureKind::Gif) {
            const GifAnimation gif =
                loadGifAnimation(path); // what a naive decode of all frames costs
            image = gif.frames.first();
            size = gif.screen;
        } else {
            const DecodedPicture picture = loadPicture(path);
            image = picture.image;
            size = picture.pictureSize;
        }
        benchmark::DoNotOptimize(makeThumbnail(image, size));
    }
}

// The thumbnails of a folder of 1,000 photos (800x600 JPEGs) made one after another: at 40x40
// beside the pictures, or at the device size of a 2x screen (80x80) into the cache folder.
// Goal: the 2x ones take at most 1.6 times as long as the 1x ones.
void MakeFolderThumbnails(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const QString folder = Folder().path() + "/thousand";
    if (!directoryExists(folder)) {
        forceDirectories(folder);
        WriteJpeg(folder + "/photo0000.jpg", TestPattern(QSize(800, 600)), false, 85);
        for (int i = 1; i < 1000; ++i)
            QFile::copy(folder + "/photo0000.jpg",
                        QString("%1/photo%2.jpg").arg(folder).arg(i, 4, 10, QChar('0')));
    }
    const QString cacheFolder = Folder().path() + "/cache";
    ThumbnailCache cache(ThumbnailCache::DefaultMemoryLimit, cacheFolder);
    for (auto _ : state) {
        state.PauseTiming();
        for (const QString& name : QDir(folder).entryList({"*.thb"}))
            QFile::remove(folder + "/" + name);
        deleteTree(cacheFolder);
        cache.clearMemory();
        state.ResumeTiming();
        for (int i = 0; i < 1000; ++i)
            benchmark::DoNotOptimize(cache.thumbnail(
                QString("%1/photo%2.jpg").arg(folder).arg(i, 4, 10, QChar('0')), side));
    }
    qint64 diskBytes = 0;
    for (const QFileInfo& file : QDir(side == ThumbnailSide ? folder : cacheFolder)
                                     .entryInfoList({side == ThumbnailSide ? "*.thb" : "*.png"}))
        diskBytes += file.size();
    state.counters["memory MB"] = static_cast<double>(cache.memoryBytes()) / (1024.0 * 1024.0);
    state.counters["disk MB"] = static_cast<double>(diskBytes) / (1024.0 * 1024.0);
}

void ReadCachedThumbnail(benchmark::State& state, bool keepInMemory) {
    const QString path = Fixture("photo.jpg");
    ThumbnailCache cache;
    cache.thumbnail(path);
    for (auto _ : state) {
        if (!keepInMemory)
            cache.clearMemory();
        benchmark::DoNotOptimize(cache.thumbnail(path));
    }
}
} // namespace

BENCHMARK_CAPTURE(MakeThumbnailFile, jpeg_4000x3000, QString("photo.jpg"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullDecodeThenShrink, jpeg_4000x3000, QString("photo.jpg"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MakeThumbnailFile, progressive_jpeg_4000x3000, QString("progressive.jpg"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullDecodeThenShrink, progressive_jpeg_4000x3000, QString("progressive.jpg"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MakeThumbnailFile, png_2000x1500, QString("large.png"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullDecodeThenShrink, png_2000x1500, QString("large.png"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MakeThumbnailFile, gif_800x600_40_frames, QString("anim.gif"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullDecodeThenShrink, gif_800x600_40_frames, QString("anim.gif"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK(MakeFolderThumbnails)
    ->ArgName("side")
    ->Arg(40)
    ->Arg(80)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadCachedThumbnail, from_thb_file, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadCachedThumbnail, kept_in_memory, true)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
