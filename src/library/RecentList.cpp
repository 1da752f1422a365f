#include "library/RecentList.h"

#include "library/EntryDrop.h"
#include "platform/FileSystem.h"
#include "platform/Logging.h"

#include <QFileInfo>
#include <QStringDecoder>

namespace {
const QByteArray kHeader = "jolvex-recent 1";
}

RecentList::RecentList(const QString& file) : file_(file) {}

void RecentList::load() {
    paths_.clear();
    if (!isPlainFile(file_))
        return;
    QByteArray bytes;
    try {
        bytes = readWholeFile(file_);
    } catch (const FileError& error) {
        qCWarning(lcFiles) << "the recent list was not read:" << error.what();
        return;
    }
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.isEmpty() || lines.first() != kHeader) {
        qCWarning(lcFiles) << "not a recent list, ignored:" << file_;
        return;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    for (qsizetype i = 1; i < lines.size() && paths_.size() < Capacity; ++i) {
        const QString path = utf8.decode(lines[i]);
        if (utf8.hasError()) {
            qCWarning(lcFiles) << "a damaged recent list, ignored:" << file_;
            paths_.clear();
            return;
        }
        if (QFileInfo(path).isAbsolute() && !paths_.contains(path))
            paths_ << path;
    }
}

void RecentList::add(const QString& path) {
    if (path.contains(u'\n'))
        return; // one path a line: such a name cannot be kept
    paths_.removeAll(path);
    paths_.prepend(path);
    while (paths_.size() > Capacity)
        paths_.removeLast();
    save();
}

void RecentList::clear() {
    paths_.clear();
    save();
}

void RecentList::pathMoved(const QString& from, const QString& to) {
    bool changed = false;
    for (QString& path : paths_)
        if (isSameOrInside(path, from)) {
            path = to + path.mid(from.size());
            changed = true;
        }
    if (changed) {
        paths_.removeDuplicates();
        save();
    }
}

QStringList RecentList::dropMissing() {
    const qsizetype before = paths_.size();
    paths_.removeIf([](const QString& path) { return !isPlainFile(path); });
    if (paths_.size() != before)
        save();
    return paths_;
}

void RecentList::save() const {
    if (file_.isEmpty())
        return; // kept for this run only
    QByteArray bytes = kHeader + '\n';
    for (const QString& path : paths_)
        bytes += path.toUtf8() + '\n';
    forceDirectories(QFileInfo(file_).absolutePath());
    replaceFileContents(file_, bytes);
}
