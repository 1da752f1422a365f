#include "library/Library.h"

#include "library/FolderScan.h"
#include "platform/FileError.h"
#include "platform/Logging.h"

namespace {
const QString kRecentCaption = QStringLiteral("最近使用");

// Runs a change of the recent list. The list in memory follows it in any case; a list file that
// cannot be written costs only the list after a restart, said in the log. False then.
template <typename Change> bool changeRecentList(Change change) {
    try {
        change();
        return true;
    } catch (const FileError& error) {
        qCWarning(lcFiles) << "the recent list was not saved:" << error.what();
        return false;
    }
}
} // namespace

Library::Library(const QString& dataDir, const QString& recentFile)
    : root_(std::make_unique<LibraryNode>(QString(), dataDir, NodeKind::Command)),
      systemNode_(root_->addChild(QStringLiteral("系统"), QString(), NodeKind::Command)),
      recent_(recentFile) {
    recent_.load();
    placeRecentNode();
}

void Library::reloadTopFolders() {
    // The scan rebuilds everything after the System node, the 最近使用 node included.
    recentNode_ = nullptr;
    try {
        loadTopFolders(root_.get());
    } catch (...) {
        placeRecentNode();
        emit topFoldersReloaded(); // what was found before the order file failed
        throw;
    }
    placeRecentNode();
    emit topFoldersReloaded();
}

void Library::placeRecentNode() {
    const bool wanted = !recent_.paths().isEmpty();
    if (wanted == (recentNode_ != nullptr))
        return;
    if (wanted) {
        recentNode_ = root_->addChild(kRecentCaption, QString(), NodeKind::Folder);
        recentNode_->moveTo(1);
    } else {
        root_->removeChild(recentNode_->index());
        recentNode_ = nullptr;
    }
}

void Library::notePasted(const QString& path) {
    const bool labelShown = recentNode_ != nullptr;
    changeRecentList([&] { recent_.add(path); });
    placeRecentNode();
    if (!labelShown && recentNode_)
        emit topFoldersReloaded();
}

void Library::clearRecent() {
    changeRecentList([&] { recent_.clear(); });
    const bool labelShown = recentNode_ != nullptr;
    placeRecentNode();
    if (labelShown)
        emit topFoldersReloaded();
}

void Library::notePathMoved(const QString& from, const QString& to) {
    changeRecentList([&] { recent_.pathMoved(from, to); });
}

void Library::fillRecentNode() {
    if (!recentNode_)
        return;
    recentNode_->clearChildren();
    QStringList paths;
    if (!changeRecentList([&] { paths = recent_.dropMissing(); }))
        paths = recent_.paths();
    for (const QString& path : paths)
        addFileNode(recentNode_, path);
}
