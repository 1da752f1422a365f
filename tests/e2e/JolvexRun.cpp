#include "JolvexRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const QString kBarTitle = QStringLiteral("^Jolvex 1\\.3$");
}

JolvexRun::JolvexRun(const XSession& session, const QString& installedProgram)
    : session_(session), program_(installedProgram) {
    if (program_.isEmpty()) {
        program_ = Folder() + "/jolvex";
        QFile::copy(QStringLiteral(JOLVEX_BINARY), program_);
    }
    QDir().mkpath(ConfigHome());
    QDir().mkpath(Folder() + "/home");
}

JolvexRun::~JolvexRun() {
    if (IsRunning()) {
        process_->kill();
        process_->waitForFinished(5000);
    }
}

void JolvexRun::Write(const QString& relative, const QByteArray& bytes) {
    const QString path = Folder() + "/" + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void JolvexRun::MakeFolder(const QString& relative) {
    QDir().mkpath(Folder() + "/" + relative);
}

void JolvexRun::WriteOptions(const QString& text) {
    QByteArray bytes("\xFF\xFE", 2);
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    Write("Options.ini", bytes);
}

void JolvexRun::InstallFakeBrowser() {
    const QString script = Folder() + "/bin/xdg-open";
    Write("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + OpenedFile().toUtf8() + "'\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool JolvexRun::Start() {
    process_ = std::make_unique<QProcess>();
    QProcessEnvironment environment = session_.Environment();
    environment.insert("XDG_CONFIG_HOME", ConfigHome());
    environment.insert("XDG_CACHE_HOME", Folder() + "/cache");
    environment.insert("HOME", Folder() + "/home");
    environment.insert("PATH", Folder() + "/bin:" + environment.value("PATH"));
    for (auto it = overrides_.cbegin(); it != overrides_.cend(); ++it)
        environment.insert(it.key(), it.value());
    process_->setProcessEnvironment(environment);
    process_->setWorkingDirectory(Folder() + "/home");
    process_->setStandardInputFile(QProcess::nullDevice());
    process_->setProcessChannelMode(QProcess::MergedChannels);
    process_->start(program_, {});
    return process_->waitForStarted(10000);
}

QString JolvexRun::WaitForBar(int timeoutMs) const {
    return session_.WaitForWindow(kBarTitle, timeoutMs);
}

QRect JolvexRun::BarGeometry() const {
    const QString bar = WaitForBar();
    return bar.isEmpty() ? QRect() : session_.Geometry(bar);
}

bool JolvexRun::WaitForExit(int timeoutMs) {
    return !process_ || process_->waitForFinished(timeoutMs);
}

bool JolvexRun::EndedCleanly() const {
    return process_ && process_->state() == QProcess::NotRunning &&
           process_->exitStatus() == QProcess::NormalExit && process_->exitCode() == 0;
}

QString JolvexRun::Output() const {
    return process_ ? QString::fromUtf8(process_->readAll()) : QString();
}
