#include "library/EntryDrop.h"

#include "base/FileRoutines.h"
#include "base/NameCompare.h"
#include "library/LibraryNode.h"
#include "library/OrderFile.h"
#include "library/ThumbnailName.h"
#include "platform/FileSystem.h"

#include <QDir>

// A picture moved to `movedTo` takes its thumbnail file along, so that no thumbnail outlives
// its picture's name: another picture of the same file time that comes to that name later
// would show it. Where the thumbnail cannot follow (the name is taken, the move fails) it is
// deleted instead: it is made again from the picture. A folder keeps its thumbnails inside.
void moveThumbnailAlong(const QString& picture, const QString& movedTo) {
    const QString thumbnail = thumbnailPath(picture);
    if (!isPlainFile(movedTo) || !isPlainFile(thumbnail))
        return;
    if (moveEntryNoReplace(thumbnail, thumbnailPath(movedTo)) != MoveResult::Moved)
        deleteTree(thumbnail);
}

bool isSameOrInside(const QString& path, const QString& dragged) {
    return path == dragged || path.startsWith(dragged + PathSeparator);
}

bool acceptsDropOn(const QString& dragged, NodeKind kind, const QString& targetPath) {
    if (dragged.isEmpty())
        return false;
    if (kind != NodeKind::Text && kind != NodeKind::Folder && kind != NodeKind::Image)
        return false;
    return !isSameOrInside(targetPath, dragged);
}

bool acceptsDropInto(const QString& dragged, const QString& folderPath) {
    return !dragged.isEmpty() && !folderPath.isEmpty() && !isSameOrInside(folderPath, dragged);
}

bool acceptsDrop(const QString& dragged, const LibraryNode* folder, const LibraryNode* target) {
    if (!folder)
        return false;
    if (!target)
        return acceptsDropInto(dragged, folder->path());
    return acceptsDropOn(dragged, target->kind(), target->path());
}

DropResult dropEntry(const QString& dragged, LibraryNode* folder, LibraryNode* target,
                     std::optional<FileError>* error, QString* movedTo) {
    const QString sourceFolder = dragged.left(dragged.lastIndexOf(PathSeparator));
    const QString name = nodeName(dragged);
    try {
        // Paths are compared as the file system compares names: exactly, here.
        if (target && sourceFolder == folder->path()) {
            if (LibraryNode* entry = folder->childWithPath(dragged))
                entry->moveTo(target->index());
            saveOrderFile(folder, -1, QString());
            return DropResult::Reordered;
        }
        QString newPath;
        if (!moveNoReplace(dragged, folder->path() + PathSeparator + name, error, &newPath))
            return DropResult::Failed;
        moveThumbnailAlong(dragged, newPath);
        if (movedTo)
            *movedTo = newPath;
        saveOrderFile(folder, target ? target->index() : -1,
                      target ? nodeName(newPath) : QString());
        return DropResult::Moved;
    } catch (const FileError& failure) {
        if (error)
            *error = failure;
        return DropResult::Failed;
    }
}
