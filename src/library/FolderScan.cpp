#include "library/FolderScan.h"

#include "base/FileRoutines.h"
#include "base/NameCompare.h"
#include "library/LibraryNode.h"
#include "library/OrderFile.h"
#include "picture/Picture.h"
#include "platform/FileSystem.h"

namespace {
bool isListedFolder(const DirEntry& entry) {
    return isPlainFolder(entry) && entry.name != u"." && entry.name != u"..";
}

// Stable pass: every child of `kind` moves to the front, keeping its order among its kind.
void moveKindToFront(LibraryNode* node, NodeKind kind) {
    std::vector<LibraryNode*> ofKind;
    for (int i = 0; i < node->childCount(); ++i)
        if (node->child(i)->kind() == kind)
            ofKind.push_back(node->child(i));
    node->moveToFront(ofKind);
}
} // namespace

void loadTopFolders(LibraryNode* root) {
    while (root->childCount() > 1)
        root->removeChild(root->childCount() - 1);
    LibraryNode* systemNode = root->childCount() > 0 ? root->child(0) : nullptr;

    const QString folder = root->path();
    for (const DirEntry& entry : listFolder(folder))
        if (isListedFolder(entry))
            root->addChild(entry.name, folder + PathSeparator + entry.name, NodeKind::Folder);

    // An empty line of the root order file can move the System node; it always goes back
    // to the front, also when the order file fails.
    struct KeepSystemFirst {
        LibraryNode* node;
        ~KeepSystemFirst() {
            if (node)
                node->moveTo(0);
        }
    } keepSystemFirst{systemNode};

    const QString orderPath = folder + PathSeparator + OrderFileName;
    if (fileExists(orderPath))
        applyOrderFile(root, orderPath);
}

bool addFileNode(LibraryNode* node, const QString& path) {
    const QString name = nodeName(path);
    const QString extension = extractExtension(name);
    if (sameText(extension, QStringLiteral(".TXT"))) {
        node->addChild(name.left(name.lastIndexOf(u'.')), path, NodeKind::Text);
        return true;
    }
    if (pictureKindOf(name) != PictureKind::None) {
        node->addChild(name, path, NodeKind::Image);
        return true;
    }
    return false;
}

void loadFolderItems(LibraryNode* node) {
    const QString path = node->path() + PathSeparator;
    for (const DirEntry& entry : listFolder(node->path())) {
        if (entry.type == EntryType::Folder) {
            if (isListedFolder(entry))
                node->addChild(entry.name, path + entry.name, NodeKind::Folder);
            continue;
        }
        // Only what can be read is a snippet or a picture: a pipe or a device named like one
        // would hang whoever opens it.
        if (entry.type != EntryType::File)
            continue;
        addFileNode(node, path + entry.name);
    }
    moveKindToFront(node, NodeKind::Text);
    moveKindToFront(node, NodeKind::Folder);

    const QString orderPath = path + OrderFileName;
    if (fileExists(orderPath))
        applyOrderFile(node, orderPath);
}
