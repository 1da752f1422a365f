#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>

// The display names of a package's pictures, from the lines of its description (Face.Xml):
// the line of a picture ends with FileIndex="<index name>">, the next line holds the display
// name between 10 leading and 11 trailing characters, and a third line closes the entry.

// A description that ends in the middle of an entry.
class DescriptionError : public std::runtime_error {
public:
    DescriptionError() : std::runtime_error("description ends inside an entry") {}
};

// The display name held by the line after a picture's line: without its first 10 and last 11
// characters; empty when the line has 21 characters or fewer.
QString displayNameFromLine(const QString& line);

// For each file of `files` in turn, finds the first line that ends with its key (letters a-z
// without regard to case), calls `rename(file, displayName)` when the display name is safe,
// and removes the entry's three lines, so that later files search the rest. A file without a
// matching line keeps its name. Throws DescriptionError when a key stands on one of the last
// two lines; the files handled before stay renamed.
void renameFromDescription(const QStringList& files, QStringList& lines,
                           const std::function<void(const QString&, const QString&)>& rename);
