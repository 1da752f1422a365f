#include "library/EntryEdits.h"

#include "base/FileRoutines.h"
#include "base/NameCompare.h"
#include "library/EntryDrop.h"
#include "library/LibraryNode.h"
#include "library/OrderFile.h"
#include "library/ThumbnailName.h"
#include "picture/Picture.h"
#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QUrl>

namespace {
bool hasOrderFile(const LibraryNode* folder) {
    return fileExists(folder->path() + PathSeparator + OrderFileName);
}

// Rewrites the folder's Order.ini from its children, when it has one; a failure is reported
// but undoes nothing.
void keepOrderFile(LibraryNode* folder, std::optional<FileError>* error) {
    if (!hasOrderFile(folder))
        return;
    try {
        saveOrderFile(folder, -1, QString());
    } catch (const FileError& failure) {
        if (error)
            *error = failure;
    }
}

bool isPictureName(const QString& name) {
    return pictureKindOf(name) != PictureKind::None;
}
} // namespace

QByteArray trashInfo(const QString& path, const QDateTime& now) {
    return "[Trash Info]\nPath=" + QUrl::toPercentEncoding(QDir::cleanPath(path), "/") +
           "\nDeletionDate=" + now.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() +
           "\n";
}

bool moveToTrash(LibraryNode* folder, const QString& path, const QString& trashFolder,
                 const QDateTime& now, std::optional<FileError>* error, QString* trashedAs) {
    const QString files = trashFolder + QStringLiteral("/files");
    const QString info = trashFolder + QStringLiteral("/info");
    if (!forceDirectories(files) || !forceDirectories(info)) {
        if (error)
            error->emplace(FileProblem::WriteFailed, QDir::cleanPath(trashFolder), EACCES);
        return false;
    }
    // The name is claimed by creating its info file exclusively, as freedesktop.org's Trash
    // layout asks: two programs trashing "a.png" at once never take the same name.
    const QString name = nodeName(path);
    const bool isFolder = isDirectoryItself(path);
    for (int n = 1; n <= MostNumberedNames; ++n) {
        const QString candidate = numberedName(name, n, isFolder);
        QFile claim(info + PathSeparator + candidate + QStringLiteral(".trashinfo"));
        if (pathExists(files + PathSeparator + candidate) || !claim.open(QIODevice::NewOnly))
            continue;
        claim.write(trashInfo(path, now));
        claim.close();
        switch (moveEntryNoReplace(path, files + PathSeparator + candidate)) {
        case MoveResult::Moved:
            break;
        case MoveResult::TargetExists:
            claim.remove();
            continue;
        case MoveResult::SourceKept:
        case MoveResult::Failed:
            claim.remove();
            if (error)
                error->emplace(FileProblem::MoveFailed, QDir::cleanPath(path));
            return false;
        }
        if (trashedAs)
            *trashedAs = files + PathSeparator + candidate;
        deleteTree(thumbnailPath(path)); // made again should the picture come back
        if (LibraryNode* entry = folder->childWithPath(path))
            folder->removeChild(entry->index());
        keepOrderFile(folder, error);
        return true;
    }
    if (error)
        error->emplace(FileProblem::NoFreeName, QDir::cleanPath(path));
    return false;
}

QString renamedFileName(const QString& path, const QString& newName) {
    const QString oldName = nodeName(path);
    if (isDirectoryItself(path))
        return newName;
    if (sameText(extractExtension(oldName), QStringLiteral(".txt")))
        return newName + extractExtension(oldName);
    if (isPictureName(oldName) && !isPictureName(newName))
        return newName + extractExtension(oldName);
    return newName;
}

bool renameEntry(LibraryNode* folder, const QString& path, const QString& newName,
                 std::optional<FileError>* error, QString* renamedTo) {
    if (!isSafeFileName(newName)) {
        if (error)
            error->emplace(FileProblem::WriteFailed, QDir::cleanPath(path), EINVAL);
        return false;
    }
    const QString target = folder->path() + PathSeparator + renamedFileName(path, newName);
    if (target == path) {
        if (renamedTo)
            *renamedTo = path;
        return true;
    }
    switch (moveEntryNoReplace(path, target)) {
    case MoveResult::Moved:
        break;
    case MoveResult::TargetExists:
        if (error)
            error->emplace(FileProblem::NoFreeName, QDir::cleanPath(target));
        return false;
    case MoveResult::SourceKept:
    case MoveResult::Failed:
        if (error)
            error->emplace(FileProblem::MoveFailed, QDir::cleanPath(path), 0, target);
        return false;
    }
    moveThumbnailAlong(path, target);
    if (renamedTo)
        *renamedTo = target;
    if (LibraryNode* entry = folder->childWithPath(path))
        entry->setPath(target);
    keepOrderFile(folder, error);
    return true;
}
