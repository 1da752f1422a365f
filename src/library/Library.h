#pragma once

#include "library/LibraryNode.h"
#include "library/RecentList.h"

#include <QObject>
#include <QString>

// The library tree: the root, whose path is the library folder, with the System menu as its
// first child, then 最近使用 (the recently pasted, once anything was), then one child per
// top-level folder. Owns every node.
class Library : public QObject {
    Q_OBJECT
public:
    // `recentFile` keeps the recent list across starts (none: kept for this run only).
    explicit Library(const QString& dataDir, const QString& recentFile = {});

    LibraryNode* root() const { return root_.get(); }
    // The System menu; its commands are added by whoever implements them.
    LibraryNode* systemNode() const { return systemNode_; }
    const QString& dataDir() const { return root_->path(); }
    // The 最近使用 node while the recent list has anything, else null. Its children are made
    // by fillRecentNode, not by a folder scan.
    LibraryNode* recentNode() const { return recentNode_; }
    const RecentList& recent() const { return recent_; }

    // The picture or snippet at `path` was pasted: it goes first in the recent list, and the
    // 最近使用 label appears if it was not there. Never throws: a list that cannot be saved is
    // logged and still kept for this run.
    void notePasted(const QString& path);
    // Empties the recent list; the label goes.
    void clearRecent();
    // A file or folder moved inside the library: recent entries at or in it follow.
    void notePathMoved(const QString& from, const QString& to);
    // Rebuilds the 最近使用 node's children from the list, leaving out files that are gone.
    void fillRecentNode();

    // Rescans the top-level folders (see loadTopFolders); throws FileError. The folders found
    // are announced either way.
    void reloadTopFolders();

signals:
    // The top-level folders were rescanned: whoever shows them follows.
    void topFoldersReloaded();

private:
    // Puts the 最近使用 node right after the System node, or takes it away, as the list says.
    void placeRecentNode();

    std::unique_ptr<LibraryNode> root_;
    LibraryNode* systemNode_;
    LibraryNode* recentNode_ = nullptr;
    RecentList recent_;
};
