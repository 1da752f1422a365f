#include "library/Library.h"

#include "library/FolderScan.h"

Library::Library(const QString& dataDir)
    : root_(std::make_unique<LibraryNode>(QString(), dataDir, NodeKind::Command)),
      systemNode_(root_->addChild(QStringLiteral("系统"), QString(), NodeKind::Command)) {}

void Library::reloadTopFolders() {
    try {
        loadTopFolders(root_.get());
    } catch (...) {
        emit topFoldersReloaded(); // what was found before the order file failed
        throw;
    }
    emit topFoldersReloaded();
}
