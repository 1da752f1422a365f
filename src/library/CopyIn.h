#pragma once

#include "platform/FileError.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

class LibraryNode;

// What was brought into a folder from another program (a file manager, a browser).
struct CopyInReport {
    QStringList added;   // the new entries' names in the folder, in the order dropped
    QStringList refused; // the names of what was left out: neither a picture nor a snippet
    std::optional<FileError> error; // the first failure; what was added before it stays
};

// Copies the files and folders at `sources` into the folder of `folder` (whose children are
// loaded): pictures (by their content: a ".jpg" that is a PNG comes in as ".png"), ".txt"
// snippets, and folders with the pictures, snippets and folders inside them. Anything else is
// refused, as are links, and a folder dropped into itself. Nothing is overwritten: a taken
// name becomes "name (2)". The sources are only read. The folder's Order.ini lists the new
// entries in front of the child `before` (null: at the end).
CopyInReport copyIntoFolder(const QStringList& sources, LibraryNode* folder, LibraryNode* before);

// Saves the bytes of a picture (dropped from a web page) as a new file in the folder, named
// `name` with the extension its content calls for; refused when the bytes are no picture.
CopyInReport addPictureFile(const QByteArray& bytes, const QString& name, LibraryNode* folder,
                            LibraryNode* before);

// Saves `text` as a new snippet in the folder, UTF-8, named from its first characters
// (snippetName), at the end of its Order.ini.
CopyInReport addSnippetFile(const QString& text, LibraryNode* folder);

// A snippet's name made from the first characters of `text`: up to 16, on one line, without
// characters a file name cannot hold; "文本" when none are left.
QString snippetName(const QString& text);

// A file name for a picture dropped from `url` (its last path part, when that makes a usable
// name), else "图片 YYYY-MM-DD HHMMSS" at `now`; without extension when it had none.
QString droppedPictureName(const QString& url, const QDateTime& now);
