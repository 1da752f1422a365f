#include "base/TextCodec.h"

#include "platform/FileSystem.h"

#include <QStringDecoder>

namespace {
QString decodeUtf16(const QByteArray& bytes, bool littleEndian) {
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const auto lo = static_cast<unsigned char>(bytes[littleEndian ? i : i + 1]);
        const auto hi = static_cast<unsigned char>(bytes[littleEndian ? i + 1 : i]);
        text.append(QChar(static_cast<char16_t>(lo | (hi << 8))));
    }
    return text;
}
} // namespace

QString decodeTextByBom(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE"))
        return decodeUtf16(bytes.mid(2), true);
    if (bytes.startsWith("\xFE\xFF"))
        return decodeUtf16(bytes.mid(2), false);
    return decodeAnsiText(bytes);
}

QStringList splitTextLines(const QString& text) {
    QStringList lines;
    const qsizetype end = text.contains(QChar(0)) ? text.indexOf(QChar(0)) : text.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < end) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            i += (c == u'\r' && i + 1 < end && text[i + 1] == u'\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < end)
        lines.append(text.mid(start, end - start));
    return lines;
}

QByteArray encodeUnicodeLines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return encodeUtf16LeWithBom(text);
}

QString decodeUtf16Le(const QByteArray& bytes) {
    return decodeUtf16(bytes, true);
}

QByteArray encodeUtf16LeWithBom(const QString& text) {
    QByteArray bytes("\xFF\xFE", 2);
    bytes.reserve(2 + 2 * text.size());
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

QStringList readTextLines(const QString& path) {
    return splitTextLines(decodeTextByBom(readWholeFile(path)));
}

void writeUnicodeLines(const QString& path, const QStringList& lines) {
    replaceFileContents(path, encodeUnicodeLines(lines));
}
