#include "delivery/UnitClipData.h"

#include "app/FileRoutines.h"
#include "app/ShowMessageBox.h"
#include "app/UnitDef.h"
#include "picture/Picture.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <memory>
#include <new>

void SendImageToChat(const QString& path) {
    if (!FileExists(path)) {
        ShowMessageBox(QStringLiteral("找不到图像文件。"), QString::fromUtf8(MessageCaption),
                       MB_ICONERROR);
        return;
    }
    try {
        const PictureKind kind = PictureKindOf(path);
        if (kind == PictureKind::None)
            return;
        const DecodedPicture picture = LoadPicture(path);
        auto data = CurrentPlatform().NewClipboardData();
        data->setImageData(picture.image);
        if (kind == PictureKind::Gif) {
            try {
                PutFileDropOnClipboard(data.get(), path);
            } catch (const std::bad_alloc&) {
                ShowMessageBox(QStringLiteral("不能分配内存。"), QString::fromUtf8(MessageCaption),
                               MB_ICONERROR);
            }
        }
        QGuiApplication::clipboard()->setMimeData(data.release());
        SendCtrlKey(VK_V);
    } catch (const std::exception&) {
        // An undecodable picture pastes nothing and says nothing.
    }
}

void SendTextToChat(const QString& path) {
    const QString text = LoadTextFile(path);
    auto data = CurrentPlatform().NewClipboardData();
    data->setText(ToNativeLineBreaks(text));
    QGuiApplication::clipboard()->setMimeData(data.release());
    SendCtrlKey(VK_V);
}

void PutFileDropOnClipboard(QMimeData* data, const QString& path) {
    CurrentPlatform().AddFileListToMimeData(data, path);
}

void SendCtrlKey(int key) {
    CurrentPlatform().SendCtrlKey(key);
}
