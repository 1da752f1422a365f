#pragma once

#include <QString>

#include <vector>

class LibraryNode;

// The per-folder Order.ini: a plain list of entry names, first line shown first.
inline constexpr auto OrderFileName = "Order.ini";

// Moves the children named in the order file to the front in the file's order and prunes
// lines that name nothing any more. A line binds the child of exactly its name, else one whose
// name matches with a-z folded; a child is bound by one line at most. Throws FileError when the
// file cannot be read, or when a pruned file cannot be written back.
void applyOrderFile(LibraryNode* node, const QString& path);
// Writes the node's current order; `name` goes in front of the child at index `at` (any other
// `at`: it is left out).
// Throws FileError when the file cannot be written.
void saveOrderFile(LibraryNode* node, int at, const QString& name);
// The same with several names in front of the child at `at` (-1 or past the end: at the end).
void saveOrderFile(LibraryNode* node, int at, const QStringList& names);
