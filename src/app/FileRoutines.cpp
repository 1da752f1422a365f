#include "app/FileRoutines.h"

#include "library/NameCompare.h"
#include "library/TextCodec.h"
#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QProcess>

namespace {
bool IsDotEntry(const QString& name) {
    return name == u"." || name == u"..";
}

// The first free name for `path`: itself, else "name (2).ext", "name (3).ext", ...
QString FreeTargetName(const QString& path, bool isFolder) {
    if (!PathExists(path))
        return path;
    const qsizetype slash = path.lastIndexOf(PathDelimiter);
    const QString name = path.mid(slash + 1);
    const qsizetype dot = isFolder ? -1 : name.lastIndexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    for (int n = 2;; ++n) {
        const QString candidate =
            path.left(slash + 1) + QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(extension);
        if (!PathExists(candidate))
            return candidate;
    }
}
} // namespace

void ListFilesRecursive(const QString& folder, QStringList& list) {
    for (const DirEntry& entry : EnumerateDirectory(folder)) {
        if (entry.attributes == faDirectory) {
            if (!IsDotEntry(entry.name))
                ListFilesRecursive(folder + PathDelimiter + entry.name, list);
            continue;
        }
        list.append(folder + PathDelimiter + entry.name);
    }
}

void MoveSubFolders(const QString& source, const QString& destination) {
    for (const DirEntry& entry : EnumerateDirectory(source))
        if (entry.attributes == faDirectory && !IsDotEntry(entry.name))
            ShellMoveFile(source + PathDelimiter + entry.name, destination);
}

int RunProcess(const QString& program, const QStringList& arguments, int /*show*/, bool wait,
               qint64* processId) {
    if (!wait) {
        qint64 started = 0;
        if (!QProcess::startDetached(program, arguments, QString(), &started))
            return -1;
        if (processId)
            *processId = started;
        return -1;
    }
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(-1))
        return -1;
    // Keep the windows painted while the child runs; user input waits until it has ended.
    while (!process.waitForFinished(30))
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

bool DeleteDirectory(const QString& path) {
    return DeleteTree(path);
}

bool ShellMoveFile(const QString& from, const QString& to) {
    if (!PathExists(from))
        return false;
    const bool isFolder = DirectoryExists(from);
    QString target = DirectoryExists(to) ? to + PathDelimiter + NodeName(from) : to;
    if (target == from)
        return true;
    // A name taken between choosing and moving is met by trying the next free one.
    for (int attempt = 0; attempt < 100; ++attempt) {
        target = FreeTargetName(target, isFolder);
        if (MoveEntryNoReplace(from, target))
            return true;
        if (!PathExists(target))
            return false;
    }
    return false;
}

QString LoadTextFile(const QString& path) {
    if (!FileExists(path))
        return {};
    QString text = DecodeTextByBom(ReadWholeFile(path));
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    QString result;
    result.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            result += QStringLiteral("\r\n");
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n') {
            result += QStringLiteral("\r\n");
        } else {
            result += c;
        }
    }
    return result;
}
