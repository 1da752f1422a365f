#include "ChatReceiver.h"

ChatReceiver::ChatReceiver(const XSession& session) : session_(session) {}

ChatReceiver::~ChatReceiver() {
    StopProcess(process_.get());
}

bool ChatReceiver::Start() {
    process_ = std::make_unique<QProcess>();
    process_->setProcessEnvironment(session_.Environment());
    process_->setStandardInputFile(QProcess::nullDevice());
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    const QStringList arguments =
        session_.IsWayland() ? QStringList{QStringLiteral("--wayland")} : QStringList{};
    process_->start(QStringLiteral(JOLVEX_CHAT_RECEIVER_BINARY), arguments);
    if (!process_->waitForStarted(10000))
        return false;
    if (session_.IsWayland()) {
        // A native window, invisible to xdotool; maximized, it fills the screen below the bar.
        if (WaitForReport("focus-in", 30000).isEmpty())
            return false;
        session_.Click(QPoint(XSession::screenWidth / 4, XSession::screenHeight * 3 / 4));
        return WaitUntil([this] { return HasFocus(); }, 5000);
    }
    window_ = session_.WaitForWindow("^Jolvex test chat$", 30000);
    if (window_.isEmpty()) {
        qWarning("chat receiver window not found: running=%d, windows=[%s], stderr: %s",
                 process_->state() == QProcess::Running,
                 qPrintable(session_.FindWindows("Jolvex test chat").join(',')),
                 process_->readAllStandardError().constData());
        return false;
    }
    session_.XDo({"windowactivate", "--sync", window_});
    const QRect geometry = session_.Geometry(window_);
    session_.Click(geometry.center());
    return WaitUntil([this] { return HasFocus(); }, 15000) &&
           !WaitForReport("focus-in", 15000).isEmpty();
}

bool ChatReceiver::HasFocus() {
    if (session_.IsWayland()) {
        // The window's own word: the last focus report.
        const QStringList reports = Reports();
        for (auto it = reports.rbegin(); it != reports.rend(); ++it)
            if (it->startsWith("focus-"))
                return *it == "focus-in";
        return false;
    }
    return session_.FocusedWindow() == window_;
}

QStringList ChatReceiver::Reports() {
    while (process_ && process_->canReadLine())
        reports_ << QString::fromUtf8(process_->readLine()).trimmed();
    return reports_;
}

QString ChatReceiver::WaitForReport(const QString& prefix, int timeoutMs) {
    QString found;
    WaitUntil(
        [&] {
            process_->waitForReadyRead(10);
            for (const QString& report : Reports())
                if (report.startsWith(prefix)) {
                    found = report;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}
