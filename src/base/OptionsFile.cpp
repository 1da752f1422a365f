#include "base/OptionsFile.h"

#include "base/IniDocument.h"
#include "base/TextCodec.h"
#include "platform/FileSystem.h"
#include "platform/Logging.h"

namespace {
const QString kSection = QStringLiteral("MainWnd");
const QString kLeft = QStringLiteral("Left");
const QString kTop = QStringLiteral("Top");

IniDocument readDocument(const QString& fileName) {
    if (!fileExists(fileName))
        return {};
    return IniDocument::parse(decodeOptionsText(readWholeFile(fileName)));
}

int integerOrZero(const std::optional<QString>& value) {
    if (!value)
        return 0;
    bool ok = false;
    const int number = value->toInt(&ok, 10);
    return ok ? number : 0;
}
} // namespace

QString decodeOptionsText(const QByteArray& bytes) {
    return decodeUtf16Le(bytes.startsWith("\xFF\xFE") ? bytes.mid(2) : bytes);
}

void loadBarPlacement(const QString& fileName, BarPlacement& position) {
    if (!fileExists(fileName))
        return;
    IniDocument document;
    try {
        document = readDocument(fileName);
    } catch (const FileError& error) {
        qCWarning(lcSettings) << "Options.ini not read, the bar starts where it starts:"
                              << error.what();
        return; // an unreadable file holds no values
    }
    const auto left = document.value(kSection, kLeft);
    position.hasSavedPosition = left.has_value();
    if (position.hasSavedPosition)
        position.left = integerOrZero(left);
    position.top = integerOrZero(document.value(kSection, kTop));
}

void saveBarPlacement(const QString& fileName, int left, int top) {
    IniDocument document = readDocument(fileName);
    document.setValue(kSection, kLeft, QString::number(left));
    document.setValue(kSection, kTop, QString::number(top));
    replaceFileContents(fileName, encodeUtf16LeWithBom(document.serialize()));
}
