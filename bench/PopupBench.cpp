// Time from a label press to a painted popup for folders of 100 to 5,000 pictures whose
// thumbnails are valid on disk: rescan, entry creation, layout and painting of every visible
// entry (offscreen, so painting is real but nothing reaches a screen). Beside it: the floor of
// any opening (listing the folder and reading its Order.ini), the rescan alone, one scroll
// step, a first opening of 1,000 pictures without thumbnails, and the resident memory of a
// 10,000-picture library browsed folder by folder. Built twice: for a screen of ratio 1, and
// as jolvex_bench_popup_2x for one of ratio 2, whose thumbnails are made at 80x80 into the
// cache folder.
#include "FixturePictures.h"

#include "base/FileRoutines.h"
#include "base/TextCodec.h"
#include "library/FolderScan.h"
#include "library/Library.h"
#include "platform/Platform.h"
#include "popup/DragSession.h"
#include "popup/FolderPopup.h"
#include "popup/PopupContext.h"
#include "popup/PopupView.h"
#include "popup/PreviewWindow.h"
#include "thumbnails/ThumbnailCache.h"
#include "thumbnails/ThumbnailLoader.h"
#include "thumbnails/ThumbnailSize.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTimer>

#include <memory>

#include <benchmark/benchmark.h>

#ifndef JOLVEX_BENCH_SCREEN_RATIO
#define JOLVEX_BENCH_SCREEN_RATIO 1
#endif

namespace {
constexpr double kScreenRatio = JOLVEX_BENCH_SCREEN_RATIO;
const int kSide = thumbnailSideFor(kScreenRatio);

// The popup and what it works with, as the program wires them, over a temporary library.
struct PopupWorld {
    QTemporaryDir folder;
    std::unique_ptr<Platform> platform = createNativePlatform();
    Library library{folder.path()};
    QTemporaryDir cacheFolder;
    ThumbnailCache cache{ThumbnailCache::DefaultMemoryLimit, cacheFolder.path()};
    ThumbnailLoader loader{cache};
    DragSession drag;
    PreviewWindow preview{*platform};
    PopupContext context{*platform, library, loader, preview, drag, 0x40000001};
    FolderPopup menu{context};
};
PopupWorld* world = nullptr;

LibraryNode* TopFolder(const QString& name) {
    LibraryNode* root = world->library.root();
    for (int i = 0; i < root->childCount(); ++i)
        if (root->child(i)->caption() == name)
            return root->child(i);
    return nullptr;
}

// A folder of `pictures` small PNGs with valid cache files, as after a first opening, and an
// Order.ini that puts the last picture first.
LibraryNode* FolderOf(int pictures) {
    const QString name = QString("f%1").arg(pictures);
    const QString path = world->folder.path() + "/" + name;
    if (!QDir(path).exists()) {
        QDir().mkpath(path);
        const QImage picture = TestPattern(QSize(96, 72));
        QStringList order;
        for (int i = 0; i < pictures; ++i) {
            const QString file = QString("p%1.png").arg(i, 5, 10, QChar('0'));
            picture.save(path + "/" + file);
            world->cache.thumbnail(path + "/" + file, kSide);
            order.prepend(file);
        }
        writeUnicodeLines(path + "/Order.ini", order);
        loadTopFolders(world->library.root());
    }
    return TopFolder(name);
}

void OpenFolder(FolderPopup& menu, LibraryNode* folder) {
    menu.setNode(folder);
    menu.setLabelRight(100);
    menu.fill(10, 26);
    menu.show();
}

// Rests the pointer on the bottom scroll button, as the window system reports it.
void StartScrollingDown(FolderPopup& menu) {
    PopupView& view = menu.view();
    const QPoint button = view.scrollButtonRect(ScrollDirection::Down).center();
    QMouseEvent move(QEvent::MouseMove, button, view.mapToGlobal(button), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
}

void CloseFolder(FolderPopup& menu) {
    menu.hide();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void OpenPopup(benchmark::State& state, bool thumbnailsInMemory) {
    LibraryNode* folder = FolderOf(static_cast<int>(state.range(0)));
    FolderPopup& menu = world->menu;
    for (auto _ : state) {
        if (!thumbnailsInMemory)
            world->cache.clearMemory();
        OpenFolder(menu, folder);
        benchmark::DoNotOptimize(menu.grab()); // paints every visible entry
        state.PauseTiming();
        int inView = 0;
        for (int i = 0; i < menu.view().cellCount(); ++i)
            inView += menu.view().isCellInView(i) ? 1 : 0;
        state.counters["cells in view"] = inView;
        CloseFolder(menu);
        state.ResumeTiming();
    }
}

// What any opening must do: list the folder and read its Order.ini.
void ListFolderAndOrder(benchmark::State& state) {
    const QString path = FolderOf(static_cast<int>(state.range(0)))->path();
    for (auto _ : state) {
        benchmark::DoNotOptimize(listFolder(path));
        benchmark::DoNotOptimize(readTextLines(path + "/Order.ini"));
    }
}

// The rescan that an opening does: listing, grouping, sorting and Order.ini.
void RescanFolder(benchmark::State& state) {
    LibraryNode* folder = FolderOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        folder->clearChildren();
        loadFolderItems(folder);
    }
}

// One step of the scroll button, with the repaint that follows it, in an open popup.
void ScrollStep(benchmark::State& state) {
    LibraryNode* folder = FolderOf(static_cast<int>(state.range(0)));
    FolderPopup& menu = world->menu;
    OpenFolder(menu, folder);
    menu.grab();
    StartScrollingDown(menu);
    PopupView& view = menu.view();
    for (auto _ : state) {
        if (view.scrolling() == ScrollDirection::None || !view.scrollTimer().isActive()) {
            state.PauseTiming(); // reached the end: start again from the top
            CloseFolder(menu);
            OpenFolder(menu, folder);
            menu.grab();
            StartScrollingDown(menu);
            state.ResumeTiming();
        }
        view.scrollStep();
        benchmark::DoNotOptimize(menu.grab());
    }
    CloseFolder(menu);
}

// A line of /proc/self/status, in megabytes.
double ResidentMegabytes(const char* field) {
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(line.indexOf(':') + 1).trimmed().split(' ').value(0).toDouble() /
                   1024.0;
    return 0;
}

// Linux lets a process start counting its peak resident memory again.
void ResetPeakResident() {
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// A 10,000-picture library (100 folders of 100) opened folder by folder, each popup painted:
// the resident memory at the end, and what the thumbnails kept in memory hold.
void BrowseLibrary(benchmark::State& state) {
    const QString libraryPath = world->folder.path() + "/browse";
    if (!QDir(libraryPath).exists()) {
        const QImage picture = TestPattern(QSize(64, 64)); // a 40x40 thumbnail: 6,400 bytes
        for (int f = 0; f < 100; ++f) {
            const QString path = QString("%1/b%2").arg(libraryPath).arg(f, 3, 10, QChar('0'));
            QDir().mkpath(path);
            for (int i = 0; i < 100; ++i) {
                const QString file = QString("%1/p%2.png").arg(path).arg(i, 3, 10, QChar('0'));
                picture.save(file);
                world->cache.thumbnail(file, kSide);
            }
        }
    }
    LibraryNode browse(QString(), libraryPath, NodeKind::Folder);
    loadFolderItems(&browse);
    FolderPopup& menu = world->menu;
    world->cache.clearMemory(); // what making the thumbnails left in memory does not count
    const double residentBefore = ResidentMegabytes("VmRSS");
    ResetPeakResident(); // what the earlier benchmarks and the setup reached does not count
    for (auto _ : state) {
        world->cache.clearMemory();
        for (int f = 0; f < browse.childCount(); ++f) {
            OpenFolder(menu, browse.child(f));
            benchmark::DoNotOptimize(menu.grab());
            CloseFolder(menu);
        }
    }
    state.counters["resident before MB"] = residentBefore;
    state.counters["peak resident MB"] = ResidentMegabytes("VmHWM");
    state.counters["thumbnail memory MB"] =
        static_cast<double>(world->cache.memoryBytes()) / (1024.0 * 1024.0);
    qint64 cacheBytes = 0;
    for (const QFileInfo& file : QDir(world->cacheFolder.path()).entryInfoList(QDir::Files))
        cacheBytes += file.size();
    state.counters["cache folder MB"] = static_cast<double>(cacheBytes) / (1024.0 * 1024.0);
}
// A folder seen for the first time: large photos without thumbnails. The popup paints at once
// with empty cells; `until_thumbnails_ready` also waits for the worker to make all of them.
void OpenPopupFirstTime(benchmark::State& state, bool untilReady) {
    const int photos = static_cast<int>(state.range(0));
    const QSize size = photos > 100 ? QSize(800, 600) : QSize(1600, 1200);
    const QString name = QString("photos%1").arg(photos);
    const QString path = world->folder.path() + "/" + name;
    LibraryNode* root = world->library.root();
    if (!QDir(path).exists()) {
        QDir().mkpath(path);
        const QString first = path + "/photo0000.jpg";
        WriteJpeg(first, TestPattern(size), true, 85);
        for (int i = 1; i < photos; ++i)
            QFile::copy(first, QString("%1/photo%2.jpg").arg(path).arg(i, 4, 10, QChar('0')));
        loadTopFolders(root);
    }
    LibraryNode* folder = TopFolder(name);
    FolderPopup& menu = world->menu;
    for (auto _ : state) {
        state.PauseTiming();
        for (const QString& name : QDir(path).entryList({"*.thb"}))
            QFile::remove(path + "/" + name);
        for (const QString& name : QDir(world->cacheFolder.path()).entryList(QDir::Files))
            QFile::remove(world->cacheFolder.path() + "/" + name);
        world->cache.clearMemory();
        state.ResumeTiming();
        menu.setNode(folder);
        menu.setLabelRight(100);
        menu.fill(10, 26);
        menu.show();
        benchmark::DoNotOptimize(menu.grab());
        // Waits in the event loop, as the program does: the interface thread sleeps while the
        // workers make the thumbnails.
        while (untilReady && world->loader.busy()) {
            QEventLoop wait;
            QObject::connect(&world->loader, &ThumbnailLoader::ready, &wait, &QEventLoop::quit);
            QTimer::singleShot(50, &wait, &QEventLoop::quit);
            wait.exec();
        }
        state.PauseTiming();
        menu.hide();
        world->loader.waitForIdle();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
} // namespace

BENCHMARK_CAPTURE(OpenPopupFirstTime, popup_painted_progressive_photos, false)
    ->Arg(30)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenPopupFirstTime, until_visible_thumbnails_ready_progressive_photos, true)
    ->Arg(30)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(OpenPopup, thumbnails_from_thb_files, false)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenPopup, thumbnails_kept_in_memory, true)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ListFolderAndOrder)->Arg(100)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(RescanFolder)->Arg(100)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(ScrollStep)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BrowseLibrary)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QTemporaryFile screens;
    if (kScreenRatio == 1.0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else if (screens.open()) {
        screens.write(QString(R"({"screens": [{"name": "scaled", "x": 0, "y": 0, "width": 1280,
            "height": 800, "logicalDpi": 96, "logicalBpp": 32, "dpr": %1}]})")
                          .arg(kScreenRatio)
                          .toUtf8());
        screens.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
    }
    // The offscreen plugin says so at every raise of a popup.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
        if (!message.contains("does not support raise"))
            fprintf(stderr, "%s\n", qPrintable(message));
    });
    QApplication application(argc, argv);
    preparePlatformApplication();
    PopupWorld popupWorld;
    world = &popupWorld;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
