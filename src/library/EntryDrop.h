#pragma once

#include "platform/FileError.h"

#include <QString>

#include <optional>

class LibraryNode;
enum class NodeKind;

// Dropping a dragged entry (a snippet, folder or picture, known by its path) on an entry of a
// folder's popup, or on the placeholder of an empty folder.

// A picture moved to `movedTo` takes its `.thb` along (deleted where it cannot follow).
void moveThumbnailAlong(const QString& picture, const QString& movedTo);

// Whether `path` is `dragged` itself or lies inside it (a separator follows the dragged path;
// "ab" is not inside "a").
bool isSameOrInside(const QString& path, const QString& dragged);

// Whether the drop target takes the dragged entry: the placeholder of `folder` (target null),
// or the entry `target`. Commands and separators never take one; nothing takes the dragged
// entry onto itself or into itself.
bool acceptsDrop(const QString& dragged, const LibraryNode* folder, const LibraryNode* target);
// The same, told by what a popup shows: an entry of `kind` at `targetPath`, or the placeholder
// of the folder at `folderPath` (never an empty path).
bool acceptsDropOn(const QString& dragged, NodeKind kind, const QString& targetPath);
bool acceptsDropInto(const QString& dragged, const QString& folderPath);

enum class DropResult {
    Reordered, // same folder: the popup is filled again in the new order
    Moved,     // moved on disk into the target's folder: the popups close
    Failed,    // `error` says why; nothing was lost
};

// Carries out the drop of `dragged` on `target` in `folder` (target null: the placeholder).
// Same folder: the dragged entry takes the target's place and the order file is written.
// Another folder: the file or folder is moved there (a taken name gets a free one), and the
// folder's order file lists it just before the target. Order files that cannot be written
// are reported in `error` (what was moved stays moved). `movedTo` gets the new path of a move.
DropResult dropEntry(const QString& dragged, LibraryNode* folder, LibraryNode* target,
                     std::optional<FileError>* error, QString* movedTo = nullptr);
