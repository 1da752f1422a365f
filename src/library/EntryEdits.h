#pragma once

#include "platform/FileError.h"

#include <QDateTime>
#include <QString>

#include <optional>

class LibraryNode;

// Changes to one entry of a folder, made from the popups' own menu. None replaces anything,
// each keeps the folder's Order.ini (when it has one) in step, and each says why it failed.

// Moves the file or folder at `path` into the freedesktop Trash at `trashFolder` (the user's:
// $XDG_DATA_HOME/Trash): into files/ under a free name, with info/<that name>.trashinfo
// holding its former path and `now`, so that a file manager can put it back. The entry's line
// leaves the Order.ini of `folder`.
bool moveToTrash(LibraryNode* folder, const QString& path, const QString& trashFolder,
                 const QDateTime& now, std::optional<FileError>* error,
                 QString* trashedAs = nullptr);

// The .trashinfo text for a file that was at `path` (an absolute path), deleted at `now`.
QByteArray trashInfo(const QString& path, const QDateTime& now);

// Renames the entry at `path` to `newName` (a safe file name; a snippet's name gets ".txt" and
// a picture's keeps its extension when the new name has none of a picture). False and nothing
// changed when the name is unsafe or taken, or the rename fails. Its Order.ini line follows.
bool renameEntry(LibraryNode* folder, const QString& path, const QString& newName,
                 std::optional<FileError>* error, QString* renamedTo = nullptr);

// The name a rename of the entry at `path` to `newName` gives its file.
QString renamedFileName(const QString& path, const QString& newName);
