#pragma once

#include "XSession.h"

#include <QByteArray>
#include <QMap>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>

#include <memory>

// A copy of the built program in a fresh folder, which becomes its program folder with its own
// 数据 and Options.ini, and its own settings store (XDG_CONFIG_HOME and HOME point inside).
// Given an installed program instead, that program runs where it is, with the fresh folder as
// its user's home.
class JolvexRun {
public:
    explicit JolvexRun(const XSession& session, const QString& installedProgram = QString());
    QString Program() const { return program_; }
    ~JolvexRun();

    QString Folder() const { return folder_.path(); }
    QString DataDir() const { return Folder() + QStringLiteral("/数据"); }
    QString ConfigHome() const { return Folder() + "/config"; }
    // Creates a file under the program folder (relative path), with missing folders.
    void Write(const QString& relative, const QByteArray& bytes = {});
    void MakeFolder(const QString& relative);
    // Options.ini as the program writes it: UTF-16LE with a byte-order mark.
    void WriteOptions(const QString& text);

    // Puts a stand-in browser on the program's PATH that writes the address it is given into
    // OpenedFile() instead of opening it.
    void InstallFakeBrowser();
    QString OpenedFile() const { return Folder() + "/opened.txt"; }

    // An environment variable of the program, different from the session's.
    void OverrideEnvironment(const QString& name, const QString& value) {
        overrides_.insert(name, value);
    }
    bool Start();
    // Waits for the bar; its window id, or empty.
    QString WaitForBar(int timeoutMs = 10000) const;
    QRect BarGeometry() const;
    qint64 ProcessId() const { return process_ ? process_->processId() : 0; }
    bool IsRunning() const { return process_ && process_->state() == QProcess::Running; }
    bool WaitForExit(int timeoutMs = 10000);
    // After WaitForExit: whether the program ended by itself with exit code 0.
    bool EndedCleanly() const;
    QString Output() const;

private:
    const XSession& session_;
    QTemporaryDir folder_;
    std::unique_ptr<QProcess> process_;
    QMap<QString, QString> overrides_;
    QString program_;
};
