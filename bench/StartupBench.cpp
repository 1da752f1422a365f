// Start-up time from process start to a visible bar, and CPU time the program uses while the
// bar sits idle and while a popup is open (waiting for an outside press), on a private
// Xvfb + openbox.
#include "JolvexRun.h"
#include "XSession.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {
// User plus system CPU time of a process, in milliseconds.
double CpuMilliseconds(qint64 pid) {
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
    // Fields after the command name: state is 0, utime is 11, stime is 12.
    const double ticks = fields.value(11).toDouble() + fields.value(12).toDouble();
    return ticks * 1000.0 / sysconf(_SC_CLK_TCK);
}

double Median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    XSession session;
    if (!session.Ready()) {
        std::fprintf(stderr, "Xvfb and openbox did not start\n");
        return 1;
    }
    QList<double> startups;
    for (int run = 0; run < 7; ++run) {
        JolvexRun jolvex(session);
        for (int i = 0; i < 8; ++i)
            jolvex.MakeFolder(QString("数据/folder %1").arg(i));
        QElapsedTimer timer;
        timer.start();
        jolvex.Start();
        if (jolvex.WaitForBar().isEmpty())
            return 1;
        startups << timer.nsecsElapsed() / 1e6;
    }

    JolvexRun jolvex(session);
    jolvex.MakeFolder("数据/表情");
    jolvex.Start();
    const QString bar = jolvex.WaitForBar();
    QThread::msleep(500);
    const int seconds = 5;
    const double idleBefore = CpuMilliseconds(jolvex.ProcessId());
    QThread::sleep(seconds);
    const double idle = CpuMilliseconds(jolvex.ProcessId()) - idleBefore;

    const QRect geometry = session.Geometry(bar);
    session.Click(QPoint(geometry.x() + 12, geometry.y() + 13));
    QThread::msleep(500);
    const double openBefore = CpuMilliseconds(jolvex.ProcessId());
    QThread::sleep(seconds);
    const double open = CpuMilliseconds(jolvex.ProcessId()) - openBefore;

    std::printf("%-44s %10s\n", "measure", "value");
    std::printf("%-44s %8.1f ms\n", "start to visible bar (median of 7)", Median(startups));
    std::printf("%-44s %8.1f ms\n", "start to visible bar (slowest of 7)",
                *std::max_element(startups.begin(), startups.end()));
    std::printf("%-44s %8.1f ms\n",
                QString("CPU while idle, %1 s").arg(seconds).toUtf8().constData(), idle);
    std::printf("%-44s %8.1f ms\n",
                QString("CPU with a popup open, %1 s").arg(seconds).toUtf8().constData(), open);
    return 0;
}
