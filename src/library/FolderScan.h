#pragma once

#include <QString>

class LibraryNode;

// Rebuilds the top level under `root` (whose path is the data folder): one folder node per
// plain sub-folder, ordered by the root's Order.ini; child 0, the System node, stays first.
// Throws FileError from applyOrderFile; the nodes made so far stay.
void loadTopFolders(LibraryNode* root);

// Appends one node per sub-folder, snippet and picture of `node`'s folder: folders first,
// then snippets, then pictures, each in name order, then the folder's Order.ini.
// Throws FileError from applyOrderFile.
void loadFolderItems(LibraryNode* node);

// Appends the snippet or picture node for the file at `path`, chosen by its extension; false
// (and nothing appended) for any other name.
bool addFileNode(LibraryNode* node, const QString& path);
