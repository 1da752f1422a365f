// Options.ini in any form: reading never fails, writing the bar's place keeps what it read of
// the rest, and the written file reads back with the new place.

#include "FuzzSupport.h"

#include "base/IniDocument.h"
#include "base/OptionsFile.h"
#include "platform/FileSystem.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    // Serialising is stable: what was written once is written the same way again.
    const QString once = IniDocument::parse(decodeOptionsText(bytes)).serialize();
    FUZZ_CHECK(IniDocument::parse(once).serialize() == once);

    const QString path = scratchFolder() + "/Options.ini";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(bytes);
    file.close();
    BarPlacement read;
    loadBarPlacement(path, read);
    try {
        saveBarPlacement(path, 120, -7);
    } catch (const FileError&) {
        return 0;
    }
    BarPlacement again;
    loadBarPlacement(path, again);
    FUZZ_CHECK(again.hasSavedPosition);
    FUZZ_CHECK(again.left == 120 && again.top == -7);
    // Every other key kept its value.
    IniDocument before = IniDocument::parse(once);
    before.setValue("MainWnd", "Left", "120");
    before.setValue("MainWnd", "Top", "-7");
    const IniDocument after = IniDocument::parse(decodeOptionsText(readWholeFile(path)));
    if (after.serialize() != before.serialize())
        std::fprintf(stderr, "expected:\n%s\nwritten:\n%s\n", qPrintable(before.serialize()),
                     qPrintable(after.serialize()));
    FUZZ_CHECK(after.serialize() == before.serialize());
    return 0;
}
