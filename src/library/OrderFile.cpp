#include "library/OrderFile.h"

#include "base/NameCompare.h"
#include "base/TextCodec.h"
#include "library/LibraryNode.h"
#include "platform/FileSystem.h"

void sortNodes(std::vector<LibraryNode*>& nodes, int low, int high) {
    const QString pivot = nodes[static_cast<size_t>((low + high) / 2)]->path();
    int i = low;
    int j = high;
    do {
        while (compareNames(nodes[static_cast<size_t>(i)]->path(), pivot) < 0)
            ++i;
        while (compareNames(nodes[static_cast<size_t>(j)]->path(), pivot) > 0)
            --j;
        if (i <= j) {
            std::swap(nodes[static_cast<size_t>(i)], nodes[static_cast<size_t>(j)]);
            ++i;
            --j;
        }
    } while (i <= j);
    if (low < j)
        sortNodes(nodes, low, j);
    if (i < high)
        sortNodes(nodes, i, high);
}

int findNode(const std::vector<LibraryNode*>& nodes, const QString& name) {
    int lo = 0;
    int hi = static_cast<int>(nodes.size()) - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = compareNames(nodeName(nodes[static_cast<size_t>(mid)]->path()), name);
        if (c < 0)
            lo = mid + 1;
        else if (c > 0)
            hi = mid - 1;
        else
            return mid;
    }
    return -1;
}

void applyOrderFile(LibraryNode* node, const QString& path) {
    if (node->childCount() < 2 || !fileExists(path))
        return;
    QStringList lines = readTextLines(path);
    const qsizetype initialCount = lines.size();
    if (initialCount == 0)
        return;

    std::vector<LibraryNode*> sorted;
    for (int c = 0; c < node->childCount(); ++c)
        sorted.push_back(node->child(c));
    sortNodes(sorted, 0, static_cast<int>(sorted.size()) - 1);

    int i = 0;
    while (i < lines.size()) {
        const int k = findNode(sorted, lines[i]);
        if (k >= 0) {
            sorted[static_cast<size_t>(k)]->moveTo(i);
            ++i;
        } else {
            lines.removeAt(i);
        }
    }
    if (lines.size() < initialCount)
        writeUnicodeLines(path, lines);
}

void saveOrderFile(LibraryNode* node, int at, const QString& name) {
    QStringList lines;
    for (int c = 0; c < node->childCount(); ++c) {
        if (c == at)
            lines.append(name);
        const NodeKind kind = node->child(c)->kind();
        if (kind == NodeKind::Text || kind == NodeKind::Folder || kind == NodeKind::Image)
            lines.append(nodeName(node->child(c)->path()));
    }
    writeUnicodeLines(node->path() + PathSeparator + OrderFileName, lines);
}
