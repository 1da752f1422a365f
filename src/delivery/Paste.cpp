#include "delivery/Paste.h"

#include "base/FileRoutines.h"
#include "picture/Picture.h"
#include "platform/FileSystem.h"
#include "platform/Logging.h"
#include "platform/Platform.h"

#include <QMimeData>

#include <memory>
#include <new>

PasteResult pastePicture(Platform& platform, const QString& path) {
    if (!fileExists(path))
        return PasteResult::PictureMissing;
    try {
        const PictureKind kind = pictureKindOf(path);
        if (kind == PictureKind::None)
            return PasteResult::NotDecodable;
        const DecodedPicture picture = loadPicture(path);
        auto data = std::make_unique<QMimeData>();
        data->setImageData(picture.image);
        PasteResult result = PasteResult::Pasted;
        if (kind == PictureKind::Gif) {
            try {
                addFileList(platform, data.get(), path);
            } catch (const std::bad_alloc&) {
                qCWarning(lcPaste) << "a GIF goes out without its file:" << path;
                result = PasteResult::PastedWithoutFileList;
            }
        }
        platform.setClipboard(std::move(data));
        if (!platform.sendPasteShortcut()) {
            qCDebug(lcPaste) << "copied, not pasted:" << path;
            return PasteResult::CopiedOnly;
        }
        return result;
    } catch (const std::exception& error) {
        qCWarning(lcPaste) << "not pasted:" << path << error.what();
        return PasteResult::NotDecodable;
    }
}

PasteResult pasteText(Platform& platform, const QString& path) {
    const QString text = loadTextFile(path);
    auto data = std::make_unique<QMimeData>();
    data->setText(toNativeLineBreaks(text));
    platform.setClipboard(std::move(data));
    return platform.sendPasteShortcut() ? PasteResult::Pasted : PasteResult::CopiedOnly;
}

void addFileList(Platform& platform, QMimeData* data, const QString& path) {
    platform.addFileListToMimeData(data, path);
}
