#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Decodes text by its byte-order mark (EF BB BF UTF-8, FF FE UTF-16LE, FE FF UTF-16BE);
// without one as "ANSI" text (see decodeAnsiText). The mark is not part of the result.
QString decodeTextByBom(const QByteArray& bytes);

// Cuts `text` at its first NUL and splits it at CR LF, lone CR and lone LF.
// A final line break adds no empty line; an empty text gives no lines.
QStringList splitTextLines(const QString& text);

// UTF-16LE with the byte-order mark FF FE and CR LF after every line, the last included.
QByteArray encodeUnicodeLines(const QStringList& lines);

// UTF-16LE bytes (no byte-order mark expected; an odd last byte is dropped) and back, the
// latter with the mark FF FE in front.
QString decodeUtf16Le(const QByteArray& bytes);
QByteArray encodeUtf16LeWithBom(const QString& text);

// Reads a text file by its byte-order mark into lines; throws FileError when unreadable.
QStringList readTextLines(const QString& path);
// Writes lines in the Unicode form above, replacing the file atomically; throws FileError.
void writeUnicodeLines(const QString& path, const QStringList& lines);
