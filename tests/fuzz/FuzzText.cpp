// Text in any encoding, as snippets and the line files are read: lines hold no line break and
// no NUL, and writing the lines in the program's own form reads back as the same lines.

#include "FuzzSupport.h"

#include "base/FileRoutines.h"
#include "base/TextCodec.h"
#include "platform/FileSystem.h"

#include <QFile>
#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    const QStringList lines = splitTextLines(decodeTextByBom(bytes));
    for (const QString& line : lines) {
        FUZZ_CHECK(!line.contains(QChar('\r')));
        FUZZ_CHECK(!line.contains(QChar('\n')));
        FUZZ_CHECK(!line.contains(QChar(0)));
    }
    FUZZ_CHECK(splitTextLines(decodeTextByBom(encodeUnicodeLines(lines))) == lines);

    // A snippet file: its text ends at the first NUL and has CR LF line breaks.
    const QString path = scratchFolder() + "/snippet.txt";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(bytes);
    file.close();
    try {
        const QString text = loadTextFile(path);
        FUZZ_CHECK(!text.contains(QChar(0)));
        FUZZ_CHECK(!text.contains(QRegularExpression("\r(?!\n)|(?<!\r)\n")));
    } catch (const FileError&) {
    }
    return 0;
}
