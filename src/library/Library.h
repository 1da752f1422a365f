#pragma once

#include "library/LibraryNode.h"

#include <QObject>
#include <QString>

// The library tree: the root, whose path is the library folder, with the System menu as its
// first child and one child per top-level folder after it. Owns every node.
class Library : public QObject {
    Q_OBJECT
public:
    explicit Library(const QString& dataDir);

    LibraryNode* root() const { return root_.get(); }
    // The System menu; its commands are added by whoever implements them.
    LibraryNode* systemNode() const { return systemNode_; }
    const QString& dataDir() const { return root_->path(); }

    // Rescans the top-level folders (see loadTopFolders); throws FileError. The folders found
    // are announced either way.
    void reloadTopFolders();

signals:
    // The top-level folders were rescanned: whoever shows them follows.
    void topFoldersReloaded();

private:
    std::unique_ptr<LibraryNode> root_;
    LibraryNode* systemNode_;
};
