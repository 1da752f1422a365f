#pragma once

// File and process routines that the drag and drop, the snippets, the preview and the package
// import share. They hold no state and block the caller until they are done.

#include "platform/FileSystem.h"

#include <QString>
#include <QStringList>

#include <optional>

// The entries of `folder` ("." and ".." included) in name order, names compared as
// compareNames does; a folder that cannot be read gives none.
QList<DirEntry> listFolder(const QString& folder);

// Appends every file below `folder` (no trailing separator), depth first: a sub-folder's files
// stand where the sub-folder was met. Entries that are not plain folders are listed as files
// and never entered (links among them). A folder that cannot be read adds nothing.
void listFilesRecursive(const QString& folder, QStringList& list);

// Moves every plain sub-folder of `source` into `destination` under its own name; a taken name
// gets a free one. Files in `source` stay. Stops at the first sub-folder that cannot be moved.
bool moveSubFolders(const QString& source, const QString& destination,
                    std::optional<FileError>* error = nullptr);

// Deletes a folder with its contents (or a file) for good; links are removed, never followed.
bool deleteDirectory(const QString& path);

// The n-th name tried for `wanted` (a full path) when it is taken: itself for n = 1, then
// "name (n).ext" ("name (n)" for a folder). Up to MostNumberedNames are tried.
QString numberedName(const QString& wanted, int n, bool isFolder);
inline constexpr int MostNumberedNames = 10000;

// Moves a file or folder to the full path `target`. A taken name (a file, a folder or a link,
// which is never followed) gets a free one made from it: "name (2).ext", "name (3).ext", ...;
// nothing is ever overwritten. Works across file systems. On failure returns false and, when
// `error` is given, says why: when the source could not be removed after a whole
// copy, the copy stays and so does what is left of the source. `movedTo` receives the path
// the item has now.
bool moveNoReplace(const QString& from, const QString& target,
                   std::optional<FileError>* error = nullptr, QString* movedTo = nullptr);
// Writes `bytes` as a new file at the full path `target`, or under a free name made from it as
// moveNoReplace makes one: nothing is ever overwritten, and no half-written file ever shows
// under the name (it is written aside, then moved in). `writtenTo` receives the path used.
bool writeNewFile(const QString& target, const QByteArray& bytes,
                  std::optional<FileError>* error = nullptr, QString* writtenTo = nullptr);
// Makes a new, empty folder at `target`, or under a free name made from it.
bool makeNewFolder(const QString& target, std::optional<FileError>* error = nullptr,
                   QString* madeAt = nullptr);
// Whether `folder` holds nothing; a missing folder holds nothing.
bool isEmptyFolder(const QString& folder);
// Copies the plain files and folders inside `from` into the folder `to`, made when missing;
// a name already taken in `to` is left as it is. Links and other entries are left out. Throws
// FileError when a file cannot be read or written.
void copyFolderContents(const QString& from, const QString& to);
// Moves a file or folder into the folder `folder` under its own name, as moveNoReplace.
bool moveIntoFolder(const QString& from, const QString& folder,
                    std::optional<FileError>* error = nullptr);

// The text of a file, decoded by its byte-order mark, every line break made CR LF, cut at its
// first NUL. A missing file gives an empty text; an unreadable one throws FileError.
QString loadTextFile(const QString& path);
