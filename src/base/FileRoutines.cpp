#include "base/FileRoutines.h"

#include "base/NameCompare.h"
#include "base/TextCodec.h"
#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QProcess>

#include <algorithm>

namespace {
bool isDotEntry(const QString& name) {
    return name == u"." || name == u"..";
}

// The first free name for `path`: itself, else "name (2).ext", "name (3).ext", ...
QString freeTargetName(const QString& path, bool isFolder) {
    if (!pathExists(path))
        return path;
    const qsizetype slash = path.lastIndexOf(PathSeparator);
    const QString name = path.mid(slash + 1);
    const qsizetype dot = isFolder ? -1 : name.lastIndexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    for (int n = 2;; ++n) {
        const QString candidate =
            path.left(slash + 1) + QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(extension);
        if (!pathExists(candidate))
            return candidate;
    }
}
} // namespace

QList<DirEntry> listFolder(const QString& folder) {
    QList<DirEntry> entries = enumerateDirectory(folder);
    std::stable_sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) {
        return compareNames(a.name, b.name) < 0;
    });
    return entries;
}

void listFilesRecursive(const QString& folder, QStringList& list) {
    for (const DirEntry& entry : listFolder(folder)) {
        if (entry.attributes == AttributeDirectory) {
            if (!isDotEntry(entry.name))
                listFilesRecursive(folder + PathSeparator + entry.name, list);
            continue;
        }
        list.append(folder + PathSeparator + entry.name);
    }
}

void moveSubFolders(const QString& source, const QString& destination) {
    for (const DirEntry& entry : listFolder(source))
        if (entry.attributes == AttributeDirectory && !isDotEntry(entry.name))
            moveNoReplace(source + PathSeparator + entry.name, destination);
}

int runProcess(const QString& program, const QStringList& arguments, bool wait, qint64* processId) {
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

bool deleteDirectory(const QString& path) {
    return deleteTree(path);
}

bool moveNoReplace(const QString& from, const QString& to) {
    if (!pathExists(from))
        return false;
    const bool isFolder = directoryExists(from);
    QString target = directoryExists(to) ? to + PathSeparator + nodeName(from) : to;
    if (target == from)
        return true;
    // A name taken between choosing and moving is met by trying the next free one.
    for (int attempt = 0; attempt < 100; ++attempt) {
        target = freeTargetName(target, isFolder);
        if (moveEntryNoReplace(from, target))
            return true;
        if (!pathExists(target))
            return false;
    }
    return false;
}

QString loadTextFile(const QString& path) {
    if (!fileExists(path))
        return {};
    QString text = decodeTextByBom(readWholeFile(path));
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
