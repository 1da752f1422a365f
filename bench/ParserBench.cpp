// Outside files that are large on purpose: Options.ini with 50,000 keys in one section, and an
// Order.ini with 100,000 stale lines after a valid one. Both must be read in linear time.
#include "base/OptionsFile.h"
#include "base/TextCodec.h"
#include "library/LibraryNode.h"
#include "library/OrderFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
void OptionsWithManyKeys(benchmark::State& state) {
    QTemporaryDir folder;
    const QString path = folder.filePath("Options.ini");
    QStringList lines{"[MainWnd]"};
    for (int i = 0; i < state.range(0); ++i)
        lines << QString("key%1=%1").arg(i);
    lines << "Left=5";
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(encodeUnicodeLines(lines));
    file.close();
    for (auto _ : state) {
        BarPlacement placement;
        loadBarPlacement(path, placement);
        benchmark::DoNotOptimize(placement.left);
    }
}

void OrderFileWithStaleLines(benchmark::State& state) {
    QTemporaryDir folder;
    const QString path = folder.filePath("Order.ini");
    QStringList lines{"b.gif"};
    for (int i = 0; i < state.range(0); ++i)
        lines << QString("gone%1.gif").arg(i);
    const QByteArray bytes = encodeUnicodeLines(lines);
    for (auto _ : state) {
        state.PauseTiming();
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        file.close();
        LibraryNode node(QString(), folder.path(), NodeKind::Folder);
        node.addChild("a.gif", folder.filePath("a.gif"), NodeKind::Image);
        node.addChild("b.gif", folder.filePath("b.gif"), NodeKind::Image);
        state.ResumeTiming();
        applyOrderFile(&node, path); // prunes the stale lines and writes the file back
    }
}
} // namespace

BENCHMARK(OptionsWithManyKeys)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(OrderFileWithStaleLines)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
