// Order.ini in any form, read by the folder scan: the folder's items all appear once whatever
// the file says, and the file as the scan leaves it gives the same order next time.

#include "FuzzSupport.h"

#include "library/FolderScan.h"
#include "library/LibraryNode.h"
#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace {
QStringList captionsOf(const QString& folder, bool* failed) {
    LibraryNode node(QString(), folder, NodeKind::Folder);
    try {
        loadFolderItems(&node);
    } catch (const FileError&) {
        *failed = true;
    }
    QStringList captions;
    for (int i = 0; i < node.childCount(); ++i)
        captions << node.child(i)->caption();
    return captions;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString folder = scratchFolder() + "/folder";
    const QStringList files{"a.gif", "B.png", "c.txt", QString::fromUtf8("微笑.bmp")};
    // A snippet's caption is its name without ".txt".
    const QStringList items{"a.gif", "B.png", "c", QString::fromUtf8("微笑.bmp"), "dir"};
    if (!QDir(folder).exists()) {
        QDir().mkpath(folder + "/dir");
        for (const QString& file : files)
            QFile(folder + "/" + file).open(QIODevice::WriteOnly);
    }
    QFile file(folder + "/Order.ini");
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();

    bool failed = false;
    const QStringList first = captionsOf(folder, &failed);
    if (QSet<QString>(first.begin(), first.end()) != QSet<QString>(items.begin(), items.end()))
        std::fprintf(stderr, "items: %s\n", qPrintable(first.join(" | ")));
    FUZZ_CHECK(first.size() == items.size());
    FUZZ_CHECK(QSet<QString>(first.begin(), first.end()) ==
               QSet<QString>(items.begin(), items.end()));
    if (failed)
        return 0;
    const QStringList second = captionsOf(folder, &failed);
    FUZZ_CHECK(second == first);
    return 0;
}
