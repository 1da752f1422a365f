#include "library/FolderScan.h"

#include "library/NameCompare.h"
#include "library/OrderFile.h"
#include "library/TMenuItem.h"
#include "platform/FileSystem.h"

#include <array>

namespace {
bool IsPlainFolder(const DirEntry& entry) {
    return entry.attributes == faDirectory && entry.name != u"." && entry.name != u"..";
}

bool IsPictureExtension(const QString& extension) {
    static const std::array<QString, 5> pictures = {QStringLiteral(".BMP"), QStringLiteral(".JPG"),
                                                    QStringLiteral(".JPEG"), QStringLiteral(".GIF"),
                                                    QStringLiteral(".PNG")};
    for (const QString& picture : pictures)
        if (SameText(extension, picture))
            return true;
    return false;
}

// Stable pass: every child of `kind` moves to the front, keeping its order among its kind.
void MoveKindToFront(TMenuItem* node, int kind) {
    int cursor = node->Count() - 1;
    for (int remaining = node->Count(); remaining > 0; --remaining) {
        TMenuItem* child = node->Items(cursor);
        if (child->ImageIndex == kind)
            child->SetMenuIndex(0);
        else
            --cursor;
    }
}
} // namespace

void LoadTopFolders(TMenuItem* root) {
    while (root->Count() > 1)
        root->Delete(root->Count() - 1);
    TMenuItem* systemNode = root->Count() > 0 ? root->Items(0) : nullptr;

    const QString folder = root->Hint;
    for (const DirEntry& entry : EnumerateDirectory(folder))
        if (IsPlainFolder(entry))
            root->Add(entry.name, folder + PathDelimiter + entry.name, ikFolder);

    // An empty line of the root order file can move the System node; it always goes back
    // to the front, also when the order file fails.
    struct KeepSystemFirst {
        TMenuItem* node;
        ~KeepSystemFirst() {
            if (node)
                node->SetMenuIndex(0);
        }
    } keepSystemFirst{systemNode};

    const QString orderPath = folder + PathDelimiter + OrderFileName;
    if (FileExists(orderPath))
        ApplyOrderFile(root, orderPath);
}

void LoadFolderItems(TMenuItem* node) {
    const QString path = node->Hint + PathDelimiter;
    for (const DirEntry& entry : EnumerateDirectory(node->Hint)) {
        if (entry.attributes == faDirectory) {
            if (IsPlainFolder(entry))
                node->Add(entry.name, path + entry.name, ikFolder);
            continue;
        }
        const QString extension = ExtractExtension(entry.name);
        if (SameText(extension, QStringLiteral(".TXT")))
            node->Add(entry.name.left(entry.name.lastIndexOf(u'.')), path + entry.name, ikText);
        if (IsPictureExtension(extension))
            node->Add(entry.name, path + entry.name, ikImage);
    }
    MoveKindToFront(node, ikText);
    MoveKindToFront(node, ikFolder);

    const QString orderPath = path + OrderFileName;
    if (FileExists(orderPath))
        ApplyOrderFile(node, orderPath);
}
