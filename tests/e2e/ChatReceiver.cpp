#include "ChatReceiver.h"

ChatReceiver::ChatReceiver(const XSession& session) : session_(session) {}

ChatReceiver::~ChatReceiver() {
    if (process_ && process_->state() == QProcess::Running) {
        process_->terminate();
        if (!process_->waitForFinished(3000))
            process_->kill();
        process_->waitForFinished(3000);
    }
}

bool ChatReceiver::Start() {
    process_ = std::make_unique<QProcess>();
    process_->setProcessEnvironment(session_.Environment());
    process_->setStandardInputFile(QProcess::nullDevice());
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    process_->start(QStringLiteral(JOLVEX_CHAT_RECEIVER_BINARY), {});
    if (!process_->waitForStarted(10000))
        return false;
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

bool ChatReceiver::HasFocus() const {
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
