#include "library/OrderFile.h"

#include "library/NameCompare.h"
#include "library/TMenuItem.h"
#include "library/TextCodec.h"
#include "platform/FileSystem.h"

void SortMenuItems(std::vector<TMenuItem*>& nodes, int low, int high) {
    const QString pivot = nodes[static_cast<size_t>((low + high) / 2)]->Hint;
    int i = low;
    int j = high;
    do {
        while (CompareNames(nodes[static_cast<size_t>(i)]->Hint, pivot) < 0)
            ++i;
        while (CompareNames(nodes[static_cast<size_t>(j)]->Hint, pivot) > 0)
            --j;
        if (i <= j) {
            std::swap(nodes[static_cast<size_t>(i)], nodes[static_cast<size_t>(j)]);
            ++i;
            --j;
        }
    } while (i <= j);
    if (low < j)
        SortMenuItems(nodes, low, j);
    if (i < high)
        SortMenuItems(nodes, i, high);
}

int FindMenuItem(const std::vector<TMenuItem*>& nodes, const QString& name) {
    int lo = 0;
    int hi = static_cast<int>(nodes.size()) - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = CompareNames(NodeName(nodes[static_cast<size_t>(mid)]->Hint), name);
        if (c < 0)
            lo = mid + 1;
        else if (c > 0)
            hi = mid - 1;
        else
            return mid;
    }
    return -1;
}

void ApplyOrderFile(TMenuItem* node, const QString& path) {
    if (node->Count() < 2 || !FileExists(path))
        return;
    QStringList lines = ReadTextLines(path);
    const qsizetype initialCount = lines.size();
    if (initialCount == 0)
        return;

    std::vector<TMenuItem*> sorted;
    for (int c = 0; c < node->Count(); ++c)
        sorted.push_back(node->Items(c));
    SortMenuItems(sorted, 0, static_cast<int>(sorted.size()) - 1);

    int i = 0;
    while (i < lines.size()) {
        const int k = FindMenuItem(sorted, lines[i]);
        if (k >= 0) {
            sorted[static_cast<size_t>(k)]->SetMenuIndex(i);
            ++i;
        } else {
            lines.removeAt(i);
        }
    }
    if (lines.size() < initialCount)
        WriteUnicodeLines(path, lines);
}

void SaveOrderFile(TMenuItem* node, int at, const QString& name) {
    QStringList lines;
    for (int c = 0; c < node->Count(); ++c) {
        if (c == at)
            lines.append(name);
        const int kind = node->Items(c)->ImageIndex;
        if (kind == ikText || kind == ikFolder || kind == ikImage)
            lines.append(NodeName(node->Items(c)->Hint));
    }
    WriteUnicodeLines(node->Hint + PathDelimiter + OrderFileName, lines);
}
