#include "library/OrderFile.h"

#include "base/NameCompare.h"
#include "base/TextCodec.h"
#include "library/LibraryNode.h"
#include "platform/FileSystem.h"

#include <QHash>
#include <QSet>

namespace {
// The name with a-z folded to A-Z, as compareNames sees it.
QString foldedName(const QString& name) {
    QString folded = name;
    for (QChar& c : folded)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    return folded;
}

// Takes the first node of `candidates` that no line has bound yet.
LibraryNode* takeUnbound(const QList<LibraryNode*>& candidates, QSet<LibraryNode*>& bound) {
    for (LibraryNode* candidate : candidates)
        if (!bound.contains(candidate)) {
            bound.insert(candidate);
            return candidate;
        }
    return nullptr;
}
} // namespace

void applyOrderFile(LibraryNode* node, const QString& path) {
    if (node->childCount() < 2 || !fileExists(path))
        return;
    QStringList lines = readTextLines(path);
    const qsizetype initialCount = lines.size();
    if (initialCount == 0)
        return;

    // Names that differ only in letter case may stand side by side: a line binds the entry of
    // exactly its name first, and only then one that matches with letters folded. No entry is
    // bound twice; a line whose entry another line took stays in the file but moves nothing.
    QHash<QString, QList<LibraryNode*>> exact;
    QHash<QString, QList<LibraryNode*>> folded;
    for (int c = 0; c < node->childCount(); ++c) {
        LibraryNode* child = node->child(c);
        const QString name = nodeName(child->path());
        exact[name].append(child);
        folded[foldedName(name)].append(child);
    }

    QSet<LibraryNode*> bound;
    QStringList kept; // lines that still name something; built anew, so pruning stays linear
    kept.reserve(lines.size());
    std::vector<LibraryNode*> ordered; // the bound entries, in the file's order
    for (const QString& line : lines) {
        const QString key = foldedName(line);
        if (!folded.contains(key))
            continue; // names nothing any more
        LibraryNode* target = takeUnbound(exact.value(line), bound);
        if (!target)
            target = takeUnbound(folded.value(key), bound);
        if (target)
            ordered.push_back(target);
        kept.append(line);
    }
    // The entries named go first in the file's order, the others after them in theirs.
    node->moveToFront(ordered);
    lines = kept;
    if (lines.size() < initialCount)
        writeUnicodeLines(path, lines);
}

void saveOrderFile(LibraryNode* node, int at, const QString& name) {
    // A name with no child to go in front of is not written: the entry is listed nowhere.
    const bool placed = at >= 0 && at < node->childCount() && !name.isEmpty();
    saveOrderFile(node, at, placed ? QStringList{name} : QStringList());
}

void saveOrderFile(LibraryNode* node, int at, const QStringList& names) {
    QStringList lines;
    for (int c = 0; c < node->childCount(); ++c) {
        if (c == at)
            lines.append(names);
        const NodeKind kind = node->child(c)->kind();
        if (kind == NodeKind::Text || kind == NodeKind::Folder || kind == NodeKind::Image)
            lines.append(nodeName(node->child(c)->path()));
    }
    if (at < 0 || at >= node->childCount())
        lines.append(names);
    writeUnicodeLines(node->path() + PathSeparator + OrderFileName, lines);
}
