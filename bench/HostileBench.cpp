// Small files made to be expensive: what each costs the program in time and peak memory.
// Every case runs in a fresh process of this program (`--run ACTION FILE`), so that the peak
// resident memory the kernel reports is that case's alone; a run that does nothing gives the
// baseline that is subtracted.

#include "HostileFiles.h"

#include "base/OptionsFile.h"
#include "base/TextCodec.h"
#include "library/LibraryNode.h"
#include "library/OrderFile.h"
#include "picture/Picture.h"
#include "platform/FileSystem.h"
#include "thumbnails/ThumbnailCache.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// What the program does with such a file.
enum class Action { Nothing, Thumbnail, Preview, CacheLookUp, Options, Order };

struct Case {
    const char* name;
    Action action;
    QString fileName;
    std::function<QByteArray()> make;
};

const char* actionName(Action action) {
    switch (action) {
    case Action::Nothing:
        return "nothing";
    case Action::Thumbnail:
        return "thumbnail";
    case Action::Preview:
        return "preview";
    case Action::CacheLookUp:
        return "cache";
    case Action::Options:
        return "options";
    case Action::Order:
        return "order";
    }
    return "";
}

QByteArray optionsWithManyKeys(int keys) {
    QStringList lines{"[MainWnd]"};
    for (int i = 0; i < keys; ++i)
        lines << QString("key%1=%1").arg(i);
    return encodeUnicodeLines(lines);
}

QByteArray orderWithStaleLines(int lines) {
    QStringList text{"b.gif"};
    for (int i = 0; i < lines; ++i)
        text << QString("gone%1.gif").arg(i);
    return encodeUnicodeLines(text);
}

QList<Case> cases() {
    return {
        {"PNG zTXt claiming 2 GB (41 B)", Action::Thumbnail, "a.png",
         [] { return PngWithHugeChunkLength("zTXt"); }},
        {"PNG iTXt claiming 2 GB", Action::Thumbnail, "a.png",
         [] { return PngWithHugeChunkLength("iTXt"); }},
        {"PNG zTXt inflating to 256 MB", Action::Thumbnail, "a.png",
         [] { return PngWithCompressionBomb(256 << 20); }},
        {"JPEG 8000x8000 grey, 1,000 scans", Action::Thumbnail, "a.jpg",
         [] { return JpegWithManyScans(QSize(8000, 8000), 1, 1000); }},
        {"JPEG 8000x8000 grey, 5,000 scans", Action::Thumbnail, "a.jpg",
         [] { return JpegWithManyScans(QSize(8000, 8000), 1, 5000); }},
        {"JPEG 8000x8000 colour progressive", Action::Thumbnail, "a.jpg",
         [] { return JpegWithManyScans(QSize(8000, 8000), 3, 1); }},
        {"JPEG 8000x8000 colour progressive", Action::Preview, "a.jpg",
         [] { return JpegWithManyScans(QSize(8000, 8000), 3, 1); }},
        {"GIF 8000x8000, 200 frames restoring", Action::Preview, "a.gif",
         [] { return GifRestoringOnHugeCanvas(QSize(8000, 8000), 200); }},
        {"GIF 5000x5000, 200 frames restoring", Action::Preview, "a.gif",
         [] { return GifRestoringOnHugeCanvas(QSize(5000, 5000), 200); }},
        {"GIF 8x8, 20 frames of 65535x976", Action::Preview, "a.gif",
         [] { return GifWithHugeFrames(QSize(65535, 976), 20); }},
        {"GIF 8x8, 20 frames of 65535x480", Action::Preview, "a.gif",
         [] { return GifWithHugeFrames(QSize(65535, 480), 20); }},
        {"GIF 1x1 on 8000x8000", Action::Thumbnail, "a.gif",
         [] { return GifDotOnHugeCanvas(QSize(8000, 8000)); }},
        {"GIF 1x1 on 8000x8000", Action::Preview, "a.gif",
         [] { return GifDotOnHugeCanvas(QSize(8000, 8000)); }},
        {"GIF 1x1 on 5000x5000", Action::Preview, "a.gif",
         [] { return GifDotOnHugeCanvas(QSize(5000, 5000)); }},
        {".thb of 8000x8000, 1 bit", Action::CacheLookUp, "a.png",
         [] { return OneBitBmp(QSize(8000, 8000)); }},
        {"Options.ini, 50,000 keys", Action::Options, "Options.ini",
         [] { return optionsWithManyKeys(50000); }},
        {"Order.ini, 100,000 stale lines", Action::Order, "Order.ini",
         [] { return orderWithStaleLines(100000); }},
    };
}

// The child's side: does the action once and prints how long it took, in milliseconds.
int runAction(const QString& action, const QString& path) {
    QElapsedTimer timer;
    timer.start();
    QString outcome = "ok";
    try {
        if (action == "thumbnail") {
            ThumbnailCache cache;
            if (cache.thumbnail(path).isNull())
                outcome = "no thumbnail";
        } else if (action == "preview") {
            const PicturePreview preview = loadPicturePreview(path, QSize(256, 256), nullptr);
            outcome = QString("%1 frame(s)").arg(preview.frames.size());
        } else if (action == "cache") {
            // The planted file sits where the picture's cache file belongs, with its time.
            const QString picture = path.left(path.size() - 4);
            ThumbnailCache cache;
            if (cache.lookUp(picture).thumbnail.isNull())
                outcome = "not read";
        } else if (action == "options") {
            BarPlacement placement;
            loadBarPlacement(path, placement);
        } else if (action == "order") {
            const QString folder = QFileInfo(path).path();
            LibraryNode node(QString(), folder, NodeKind::Folder);
            node.addChild("a.gif", folder + "/a.gif", NodeKind::Image);
            node.addChild("b.gif", folder + "/b.gif", NodeKind::Image);
            applyOrderFile(&node, path);
        }
    } catch (const std::exception& error) {
        outcome = QString::fromUtf8(error.what());
    }
    std::printf("%.1f\t%s\n", static_cast<double>(timer.nsecsElapsed()) / 1e6,
                outcome.toUtf8().constData());
    return 0;
}

struct Measured {
    double milliseconds = 0;
    long peakKilobytes = 0;
    QString outcome;
};

Measured runChild(const char* self, Action action, const QString& path) {
    int channel[2];
    if (pipe(channel) != 0)
        return {};
    const QByteArray file = QFile::encodeName(path);
    const pid_t child = fork();
    if (child == 0) {
        dup2(channel[1], STDOUT_FILENO);
        close(channel[0]);
        execl(self, self, "--run", actionName(action), file.constData(), nullptr);
        _exit(127);
    }
    close(channel[1]);
    QByteArray output;
    char buffer[512];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, n);
    close(channel[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const QList<QByteArray> fields = output.trimmed().split('\t');
    Measured measured;
    measured.milliseconds = fields.value(0).toDouble();
    measured.peakKilobytes = usage.ru_maxrss;
    measured.outcome = WIFSIGNALED(status) ? QString("killed by signal %1").arg(WTERMSIG(status))
                                           : QString::fromUtf8(fields.value(1));
    return measured;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--run")
        return runAction(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));

    QTemporaryDir folder;
    const Measured baseline = runChild(argv[0], Action::Nothing, folder.filePath("none"));
    std::printf("Hostile files (baseline resident memory %ld MB, subtracted)\n",
                baseline.peakKilobytes / 1024);
    std::printf("%-40s %-10s %10s %10s  %s\n", "file", "action", "time ms", "peak MB", "outcome");
    for (const Case& c : cases()) {
        const QString path = folder.filePath(c.fileName);
        QFile out(path);
        out.open(QIODevice::WriteOnly);
        out.write(c.make());
        out.close();
        QString target = path;
        if (c.action == Action::CacheLookUp) {
            // A real picture with the planted file as its cache file, both at one time.
            QFile picture(path);
            picture.rename(path + ".thb");
            QFile(path).open(QIODevice::WriteOnly);
            setFileWriteTime(path + ".thb", *fileWriteTime(path));
            target = path + ".thb";
        }
        const Measured m = runChild(argv[0], c.action, target);
        std::printf("%-40s %-10s %10.1f %10.1f  %s\n", c.name, actionName(c.action), m.milliseconds,
                    (m.peakKilobytes - baseline.peakKilobytes) / 1024.0,
                    m.outcome.toUtf8().constData());
        std::fflush(stdout);
        QFile::remove(path);
        QFile::remove(path + ".thb");
    }
    return 0;
}
