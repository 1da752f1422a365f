// Time from a label press to a painted popup for a folder of 100 and of 1000 pictures whose
// thumbnails are valid on disk: rescan, entry creation, layout and painting of every visible
// entry (offscreen, so painting is real but nothing reaches a screen).
#include "FixturePictures.h"

#include "delivery/ThumbnailCache.h"
#include "delivery/ThumbnailLoader.h"
#include "library/FolderScan.h"
#include "library/Library.h"
#include "platform/Platform.h"
#include "popup/DragSession.h"
#include "popup/FolderPopup.h"
#include "popup/PopupContext.h"
#include "popup/PreviewWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

#include <benchmark/benchmark.h>

namespace {
// The popup and what it works with, as the program wires them, over a temporary library.
struct PopupWorld {
    QTemporaryDir folder;
    std::unique_ptr<Platform> platform = createNativePlatform();
    Library library{folder.path()};
    ThumbnailCache cache;
    ThumbnailLoader loader{cache};
    DragSession drag;
    PreviewWindow preview{*platform};
    PopupContext context{*platform,
                         library,
                         loader,
                         preview,
                         drag,
                         0x40000001,
                         QPixmap(QStringLiteral(":/skin/menu_left_bar.png"))};
    FolderPopup menu{context};
};
PopupWorld* world = nullptr;

LibraryNode* FolderOf(int pictures) {
    const QString name = QString("f%1").arg(pictures);
    const QString path = world->folder.path() + "/" + name;
    LibraryNode* root = world->library.root();
    if (!QDir(path).exists()) {
        QDir().mkpath(path);
        const QImage picture = TestPattern(QSize(96, 72));
        for (int i = 0; i < pictures; ++i) {
            const QString file = QString("%1/p%2.png").arg(path).arg(i, 4, 10, QChar('0'));
            picture.save(file);
            world->cache.thumbnail(file); // valid cache files, as after a first opening
        }
        loadTopFolders(root);
    }
    for (int i = 0; i < root->childCount(); ++i)
        if (root->child(i)->caption() == name)
            return root->child(i);
    return nullptr;
}

void OpenPopup(benchmark::State& state, bool thumbnailsInMemory) {
    LibraryNode* folder = FolderOf(static_cast<int>(state.range(0)));
    FolderPopup& menu = world->menu;
    for (auto _ : state) {
        if (!thumbnailsInMemory)
            world->cache.clearMemory();
        menu.setNode(folder);
        menu.setLabelRight(100);
        menu.fill(10, 26);
        menu.show();
        benchmark::DoNotOptimize(menu.grab()); // paints every visible entry
        menu.hide();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    state.counters["entries alive"] = static_cast<double>(menu.findChildren<QWidget*>().size());
}
// A folder seen for the first time: large photos without thumbnails. The popup paints at once
// with empty cells; `until_thumbnails_ready` also waits for the worker to make all of them.
void OpenPopupFirstTime(benchmark::State& state, bool untilReady) {
    const QString path = world->folder.path() + "/photos";
    LibraryNode* root = world->library.root();
    if (!QDir(path).exists()) {
        QDir().mkpath(path);
        for (int i = 0; i < 30; ++i)
            WriteJpeg(QString("%1/photo%2.jpg").arg(path).arg(i, 2, 10, QChar('0')),
                      TestPattern(QSize(1600, 1200)), true, 85);
        loadTopFolders(root);
    }
    LibraryNode* folder = nullptr;
    for (int i = 0; i < root->childCount(); ++i)
        if (root->child(i)->caption() == "photos")
            folder = root->child(i);
    FolderPopup& menu = world->menu;
    for (auto _ : state) {
        state.PauseTiming();
        for (const QString& name : QDir(path).entryList({"*.thb"}))
            QFile::remove(path + "/" + name);
        world->cache.clearMemory();
        state.ResumeTiming();
        menu.setNode(folder);
        menu.setLabelRight(100);
        menu.fill(10, 26);
        menu.show();
        benchmark::DoNotOptimize(menu.grab());
        while (untilReady && world->loader.busy())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        state.PauseTiming();
        menu.hide();
        world->loader.waitForIdle();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
} // namespace

BENCHMARK_CAPTURE(OpenPopupFirstTime, popup_painted_30_progressive_photos, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenPopupFirstTime, until_thumbnails_ready_30_progressive_photos, true)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(OpenPopup, thumbnails_from_thb_files, false)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenPopup, thumbnails_kept_in_memory, true)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    preparePlatformApplication();
    PopupWorld popupWorld;
    world = &popupWorld;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
