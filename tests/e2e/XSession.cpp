#include "XSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

#include <X11/Xlib.h>

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
    return true;
}

XSession::XSession() : xvfb_(std::make_unique<QProcess>()) {
    xvfb_->setProcessChannelMode(QProcess::SeparateChannels);
    xvfb_->setStandardInputFile(QProcess::nullDevice());
    xvfb_->start("Xvfb", {"-displayfd", "1", "-screen", "0",
                          QString("%1x%2x24").arg(screenWidth).arg(screenHeight), "-nolisten",
                          "tcp", "-noreset"});
    if (!xvfb_->waitForStarted(10000))
        return;
    // Xvfb writes its display number to the descriptor given, here its standard output.
    if (!WaitUntil([this] { return xvfb_->canReadLine() || xvfb_->state() != QProcess::Running; },
                   15000))
        return;
    const QString number = QString::fromLatin1(xvfb_->readLine()).trimmed();
    if (number.isEmpty())
        return;
    display_ = ":" + number;

    windowManager_ = std::make_unique<QProcess>();
    windowManager_->setProcessEnvironment(Environment());
    windowManager_->setStandardInputFile(QProcess::nullDevice());
    windowManager_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    windowManager_->setStandardOutputFile(QProcess::nullDevice());
    windowManager_->start("openbox", {"--sm-disable"});
    if (!windowManager_->waitForStarted(10000))
        return;
    ready_ = WaitUntil(
        [this] {
            return Run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id");
        },
        15000);
}

void StopProcess(QProcess* process) {
    if (!process || process->state() == QProcess::NotRunning)
        return;
    process->terminate();
    if (!process->waitForFinished(5000)) {
        process->kill();
        process->waitForFinished(5000);
    }
}

XSession::~XSession() {
    StopProcess(windowManager_.get());
    StopProcess(xvfb_.get());
}

QProcessEnvironment XSession::Environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", display_);
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    return environment;
}

QString XSession::Run(const QString& program, const QStringList& arguments, int timeoutMs) const {
    QProcess process;
    process.setProcessEnvironment(Environment());
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QStringList XSession::FindWindows(const QString& titlePattern) const {
    return XDo({"search", "--onlyvisible", "--name", titlePattern}).split('\n', Qt::SkipEmptyParts);
}

QString XSession::WaitForWindow(const QString& titlePattern, int timeoutMs) const {
    QString found;
    WaitUntil(
        [&] {
            const QStringList windows = FindWindows(titlePattern);
            found = windows.size() == 1 ? windows.first() : QString();
            return !found.isEmpty();
        },
        timeoutMs);
    return found;
}

bool XSession::WaitForNoWindow(const QString& titlePattern, int timeoutMs) const {
    return WaitUntil([&] { return FindWindows(titlePattern).isEmpty(); }, timeoutMs);
}

QRect XSession::Geometry(const QString& window) const {
    int x = 0, y = 0, width = 0, height = 0;
    for (const QString& line : XDo({"getwindowgeometry", "--shell", window}).split('\n')) {
        const QString value = line.section('=', 1);
        if (line.startsWith("X="))
            x = value.toInt();
        else if (line.startsWith("Y="))
            y = value.toInt();
        else if (line.startsWith("WIDTH="))
            width = value.toInt();
        else if (line.startsWith("HEIGHT="))
            height = value.toInt();
    }
    return {x, y, width, height};
}

QString XSession::FocusedWindow() const {
    return XDo({"getwindowfocus", "-f"});
}

bool XSession::PressKey(const QString& window, const QString& key) const {
    if (!WaitUntil([&] { return FocusedWindow() == window; }, 1000)) {
        XDo({"windowfocus", "--sync", window});
        if (!WaitUntil([&] { return FocusedWindow() == window; }, 3000))
            return false;
    }
    XDo({"key", key});
    return true;
}

QList<int> XSession::KeysHeldDown() const {
    QList<int> held;
    // XWayland's server wants its cookie.
    const QString cookie = Environment().value("XAUTHORITY");
    if (!cookie.isEmpty())
        qputenv("XAUTHORITY", cookie.toLocal8Bit());
    ::Display* display = XOpenDisplay(display_.toLocal8Bit().constData());
    if (!display)
        return held;
    char keys[32] = {};
    XQueryKeymap(display, keys);
    XCloseDisplay(display);
    for (int code = 0; code < 256; ++code)
        if (keys[code / 8] & (1 << (code % 8)))
            held << code;
    return held;
}

void XSession::Click(const QPoint& at, int button) const {
    XDo({"mousemove", QString::number(at.x()), QString::number(at.y())});
    QThread::msleep(40);
    XDo({"click", QString::number(button)});
}

void XSession::Drag(const QPoint& from, const QPoint& to) const {
    XDo({"mousemove", QString::number(from.x()), QString::number(from.y())});
    QThread::msleep(40);
    XDo({"mousedown", "1"});
    const int steps = 8;
    for (int i = 1; i <= steps; ++i) {
        const QPoint p = from + (to - from) * i / steps;
        XDo({"mousemove", QString::number(p.x()), QString::number(p.y())});
        QThread::msleep(30);
    }
    QThread::msleep(40);
    XDo({"mouseup", "1"});
}

bool XSession::Screenshot(const QString& path) const {
    QProcess process;
    process.setProcessEnvironment(Environment());
    process.start(QStringLiteral(JOLVEX_SCREENSHOT_BINARY), {path});
    return process.waitForFinished(10000) && process.exitCode() == 0;
}
