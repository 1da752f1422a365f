#include "base/NameCompare.h"

#include "platform/FileSystem.h"

#include <QFile>

namespace {
char16_t foldAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - (u'a' - u'A')) : c;
}
} // namespace

int compareNames(const QString& a, const QString& b) {
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t ca = foldAsciiLetter(a[i].unicode());
        const char16_t cb = foldAsciiLetter(b[i].unicode());
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool sameText(const QString& a, const QString& b) {
    return a.size() == b.size() && compareNames(a, b) == 0;
}

QString extractExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot);
}

QString nodeName(const QString& hint) {
    return hint.mid(hint.lastIndexOf(PathSeparator) + 1);
}

bool isSafeFileName(const QString& name) {
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    for (const QChar c : name)
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    return QFile::encodeName(name).size() <= 255;
}
