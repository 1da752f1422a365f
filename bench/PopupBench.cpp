// Time from a label press to a painted popup for a folder of 100 and of 1000 pictures whose
// thumbnails are valid on disk: rescan, entry creation, layout and painting of every visible
// entry (offscreen, so painting is real but nothing reaches a screen).
#include "FixturePictures.h"

#include "app/UnitDef.h"
#include "delivery/ThumbnailCache.h"
#include "delivery/ThumbnailLoader.h"
#include "library/FolderScan.h"
#include "library/TMenuItem.h"
#include "menu/UnitHint.h"
#include "menu/UnitMenu.h"
#include "menubar/UnitMenuBar.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
QTemporaryDir& Library() {
    static QTemporaryDir folder;
    return folder;
}

TMenuItem* FolderOf(int pictures) {
    const QString name = QString("f%1").arg(pictures);
    const QString path = Library().path() + "/" + name;
    if (!QDir(path).exists()) {
        QDir().mkpath(path);
        const QImage picture = TestPattern(QSize(96, 72));
        for (int i = 0; i < pictures; ++i) {
            const QString file = QString("%1/p%2.png").arg(path).arg(i, 4, 10, QChar('0'));
            picture.save(file);
            GetThumbnail(file); // valid cache files, as after a first opening
        }
        LoadTopFolders(RootNode);
    }
    for (int i = 0; i < RootNode->Count(); ++i)
        if (RootNode->Items(i)->Caption == name)
            return RootNode->Items(i);
    return nullptr;
}

void OpenPopup(benchmark::State& state, bool thumbnailsInMemory) {
    TMenuItem* folder = FolderOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!thumbnailsInMemory)
            ClearThumbnailMemory();
        FmMenu->MenuItem = folder;
        FmMenu->LeftWidth = 100;
        FmMenu->LoadData(10, 26);
        FmMenu->show();
        benchmark::DoNotOptimize(FmMenu->grab()); // paints every visible entry
        FmMenu->hide();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    state.counters["entries alive"] = static_cast<double>(FmMenu->findChildren<QWidget*>().size());
}
// A folder seen for the first time: large photos without thumbnails. The popup paints at once
// with empty cells; `until_thumbnails_ready` also waits for the worker to make all of them.
void OpenPopupFirstTime(benchmark::State& state, bool untilReady) {
    const QString path = Library().path() + "/photos";
    if (!QDir(path).exists()) {
        QDir().mkpath(path);
        for (int i = 0; i < 30; ++i)
            WriteJpeg(QString("%1/photo%2.jpg").arg(path).arg(i, 2, 10, QChar('0')),
                      TestPattern(QSize(1600, 1200)), true, 85);
        LoadTopFolders(RootNode);
    }
    TMenuItem* folder = nullptr;
    for (int i = 0; i < RootNode->Count(); ++i)
        if (RootNode->Items(i)->Caption == "photos")
            folder = RootNode->Items(i);
    for (auto _ : state) {
        state.PauseTiming();
        for (const QString& name : QDir(path).entryList({"*.thb"}))
            QFile::remove(path + "/" + name);
        ClearThumbnailMemory();
        state.ResumeTiming();
        FmMenu->MenuItem = folder;
        FmMenu->LeftWidth = 100;
        FmMenu->LoadData(10, 26);
        FmMenu->show();
        benchmark::DoNotOptimize(FmMenu->grab());
        while (untilReady && ThumbnailLoader::Instance().Busy())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        state.PauseTiming();
        FmMenu->hide();
        ThumbnailLoader::Instance().WaitForIdle();
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
    PreparePlatformApplication();
    WindowTag = DrawWindowTag();
    TFmMenuBar bar;
    FmMenuBar = &bar;
    TFmMenu menu;
    FmMenu = &menu;
    TFmHint hint;
    FmHint = &hint;
    RootNode = bar.PMenuItems();
    SystemNode = bar.MnSystem;
    RootNode->Hint = Library().path();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
