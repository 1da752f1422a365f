#include "library/CopyIn.h"

#include "base/FileRoutines.h"
#include "base/NameCompare.h"
#include "library/EntryDrop.h"
#include "library/LibraryNode.h"
#include "library/OrderFile.h"
#include "picture/Picture.h"
#include "platform/FileSystem.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {
// A picture is told by its first bytes; this many are enough for every kind.
constexpr qint64 kSniffBytes = 32;

bool isSnippetName(const QString& name) {
    return sameText(extractExtension(name), QStringLiteral(".TXT"));
}

QByteArray firstBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(kSniffBytes);
}

// `name` with the extension of a picture of `kind` (kept when it already means that kind).
QString withPictureExtension(const QString& name, PictureKind kind) {
    if (pictureKindOf(name) == kind)
        return name;
    const QString extension = extractExtension(name);
    const QString stem =
        pictureKindOf(name) != PictureKind::None ? name.left(name.size() - extension.size()) : name;
    return stem + pictureExtension(kind);
}

// Copies one plain file, or refuses it; false when the copy failed (`report.error` says why).
bool copyFile(const QString& source, const QString& folder, QString* copiedAs,
              CopyInReport& report) {
    const QString name = nodeName(source);
    QString targetName;
    if (isSnippetName(name)) {
        targetName = name;
    } else {
        const PictureKind kind = pictureKindOfBytes(firstBytes(source));
        if (kind == PictureKind::None) {
            report.refused << name;
            return true;
        }
        targetName = withPictureExtension(name, kind);
    }
    QByteArray bytes;
    try {
        bytes = readWholeFile(source);
    } catch (const FileError& error) {
        report.error = error;
        return false;
    }
    QString writtenTo;
    if (!writeNewFile(folder + PathSeparator + targetName, bytes, &report.error, &writtenTo))
        return false;
    if (copiedAs)
        *copiedAs = nodeName(writtenTo);
    return true;
}

// Copies a folder with the pictures, snippets and folders inside it.
bool copyFolder(const QString& source, const QString& folder, QString* copiedAs,
                CopyInReport& report) {
    QString madeAt;
    if (!makeNewFolder(folder + PathSeparator + nodeName(source), &report.error, &madeAt))
        return false;
    if (copiedAs)
        *copiedAs = nodeName(madeAt);
    for (const DirEntry& entry : listFolder(source)) {
        if (entry.name == u"." || entry.name == u"..")
            continue;
        const QString inside = source + PathSeparator + entry.name;
        if (entry.link || (entry.type != EntryType::File && entry.type != EntryType::Folder)) {
            report.refused << entry.name;
            continue;
        }
        const bool copied = entry.type == EntryType::Folder
                                ? copyFolder(inside, madeAt, nullptr, report)
                                : copyFile(inside, madeAt, nullptr, report);
        if (!copied)
            return false;
    }
    return true;
}

// The folder's Order.ini puts what was added in front of `before`, or at the end.
void listNewEntries(LibraryNode* folder, LibraryNode* before, CopyInReport& report) {
    if (report.added.isEmpty())
        return;
    try {
        saveOrderFile(folder, before ? before->index() : -1, report.added);
    } catch (const FileError& error) {
        if (!report.error)
            report.error = error;
    }
}
} // namespace

CopyInReport copyIntoFolder(const QStringList& sources, LibraryNode* folder, LibraryNode* before) {
    CopyInReport report;
    const QString target = folder->path();
    for (const QString& source : sources) {
        const QFileInfo info(source);
        if (info.isSymLink() || !info.exists()) {
            report.refused << nodeName(source);
            continue;
        }
        QString copiedAs;
        bool copied = true;
        if (info.isDir()) {
            // A folder copied into itself would copy its own copy, without end.
            if (isSameOrInside(target, QDir::cleanPath(source))) {
                report.refused << nodeName(source);
                continue;
            }
            copied = copyFolder(source, target, &copiedAs, report);
        } else if (info.isFile()) {
            copied = copyFile(source, target, &copiedAs, report);
        } else {
            report.refused << nodeName(source);
            continue;
        }
        if (!copiedAs.isEmpty())
            report.added << copiedAs;
        if (!copied)
            break;
    }
    listNewEntries(folder, before, report);
    return report;
}

CopyInReport addPictureFile(const QByteArray& bytes, const QString& name, LibraryNode* folder,
                            LibraryNode* before) {
    CopyInReport report;
    const PictureKind kind = pictureKindOfBytes(bytes);
    if (kind == PictureKind::None) {
        report.refused << name;
        return report;
    }
    QString writtenTo;
    if (writeNewFile(folder->path() + PathSeparator + withPictureExtension(name, kind), bytes,
                     &report.error, &writtenTo))
        report.added << nodeName(writtenTo);
    listNewEntries(folder, before, report);
    return report;
}

QString snippetName(const QString& text) {
    constexpr int kLongest = 16;
    QString name;
    for (const QChar c : text.simplified()) {
        if (name.size() == kLongest)
            break;
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            continue;
        name += c;
    }
    name = name.trimmed();
    while (name.startsWith(u'.'))
        name.remove(0, 1);
    return isSafeFileName(name) ? name : QStringLiteral("文本");
}

CopyInReport addSnippetFile(const QString& text, LibraryNode* folder) {
    CopyInReport report;
    QString writtenTo;
    if (writeNewFile(folder->path() + PathSeparator + snippetName(text) + QStringLiteral(".txt"),
                     text.toUtf8(), &report.error, &writtenTo))
        report.added << nodeName(writtenTo);
    listNewEntries(folder, nullptr, report);
    return report;
}

QString droppedPictureName(const QString& url, const QDateTime& now) {
    const QUrl parsed(url);
    const QString scheme = parsed.scheme().toLower();
    // The last part of the path as it stands, decoded on its own: an encoded slash in it is no
    // separator but makes the name unusable.
    const QString encoded = parsed.path(QUrl::FullyEncoded);
    const QString last =
        QUrl::fromPercentEncoding(encoded.mid(encoded.lastIndexOf(u'/') + 1).toUtf8()).trimmed();
    const bool webOrFile =
        scheme == u"http" || scheme == u"https" || scheme == u"file" || scheme == u"ftp";
    const bool usable = webOrFile && isSafeFileName(last) && !last.startsWith(u'.');
    if (usable)
        return last;
    return QStringLiteral("图片 ") + now.toString(QStringLiteral("yyyy-MM-dd HHmmss"));
}
