#include "import/FaceNames.h"

#include "base/NameCompare.h"

#include <QFile>

QString displayNameFromLine(const QString& line) {
    if (line.size() <= 21)
        return {};
    return line.mid(10, line.size() - 21);
}

void renameFromDescription(const QStringList& files, QStringList& lines,
                           const std::function<void(const QString&, const QString&)>& rename) {
    for (const QString& file : files) {
        const QString key = QStringLiteral("FileIndex=\"") + nodeName(file) + QStringLiteral("\">");
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString& line = lines[i];
            if (line.size() < key.size() || !sameText(line.right(key.size()), key))
                continue;
            if (i + 1 >= lines.size())
                throw DescriptionError();
            const QString name = displayNameFromLine(lines[i + 1]);
            if (isSafeFileName(name))
                rename(file, name);
            if (i + 2 >= lines.size())
                throw DescriptionError();
            lines.remove(i, 3);
            break;
        }
    }
}
