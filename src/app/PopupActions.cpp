#include "app/PopupActions.h"

#include "app/PasteReport.h"
#include "base/FileRoutines.h"
#include "base/NameCompare.h"
#include "delivery/Paste.h"
#include "library/CopyIn.h"
#include "library/EntryDrop.h"
#include "library/Library.h"
#include "library/LibraryNode.h"
#include "popup/FolderPopup.h"
#include "thumbnails/ThumbnailLoader.h"
#include "ui/BarNotice.h"
#include "ui/ErrorText.h"
#include "ui/MessageBox.h"

#include <QCoreApplication>
#include <QDateTime>

PopupActions::PopupActions(Platform& platform, Library& library, FolderPopup& popup,
                           ThumbnailLoader& thumbnails, BarNotice& notice, const QWidget& bar)
    : platform_(platform), library_(library), popup_(popup), thumbnails_(thumbnails),
      notice_(notice), bar_(bar) {
    connect(&popup_, &FolderPopup::activated, this, &PopupActions::activate);
    connect(&popup_, &FolderPopup::dropRequested, this, &PopupActions::drop);
    connect(&popup_, &FolderPopup::incomingDropRequested, this, &PopupActions::dropIncoming);
    connect(&popup_, &FolderPopup::shown, &notice_, &QWidget::hide);
}

void PopupActions::activate(const QString& path, NodeKind kind, int index) {
    switch (kind) {
    case NodeKind::Text:
        runReportingErrors([&] { report(path, pasteText(platform_, path)); });
        break;
    case NodeKind::Image:
        report(path, pastePicture(platform_, path));
        break;
    case NodeKind::Command:
        // Commands live in the System menu, which no rescan replaces.
        if (LibraryNode* menu = popup_.node(); menu && index >= 0 && index < menu->childCount())
            menu->child(index)->trigger();
        break;
    case NodeKind::Folder:
    case NodeKind::Separator:
        break;
    }
}

void PopupActions::drop(FolderPopup* into, const QString& source, int index) {
    LibraryNode* folder = into->node();
    LibraryNode* target = folder->childOrNull(index);
    std::optional<FileError> error;
    QString movedTo;
    switch (dropEntry(source, folder, target, &error, &movedTo)) {
    case DropResult::Reordered:
        into->refill();
        break;
    case DropResult::Moved:
        thumbnails_.forget(source);
        library_.notePathMoved(source, movedTo);
        popup_.hide();
        break;
    case DropResult::Failed:
        // Told once the drag has ended: a message box inside the drop would nest in the drag.
        QMetaObject::invokeMethod(
            qApp,
            [source, why = error ? errorText(*error) : QString()] {
                showMessageBox(
                    QStringLiteral("拖放 \"%1\" 时出现错误。\n%2").arg(nodeName(source), why),
                    MessageKind::Error);
            },
            Qt::QueuedConnection);
        into->refill();
        break;
    }
}

void PopupActions::dropIncoming(FolderPopup* into, const DroppedData& data, int index) {
    LibraryNode* folder = into->node();
    LibraryNode* before = folder->childOrNull(index);
    CopyInReport report;
    if (!data.files.isEmpty())
        report = copyIntoFolder(data.files, folder, before);
    else if (!data.pictureBytes.isEmpty())
        report = addPictureFile(
            data.pictureBytes,
            droppedPictureName(data.pictureAddress, QDateTime::currentDateTime()), folder, before);
    else
        report.refused << (data.pictureAddress.isEmpty() ? QStringLiteral("?")
                                                         : data.pictureAddress);
    reportCopyIn(into, report, !data.files.isEmpty());
}

void PopupActions::addSnippet(FolderPopup* into, const QString& text) {
    reportCopyIn(into, addSnippetFile(text, into->node()), false);
}

void PopupActions::tell(const QString& text) {
    notice_.showBeside(bar_.frameGeometry(), text);
}

void PopupActions::reportCopyIn(FolderPopup* into, const CopyInReport& report, bool fromFiles) {
    const QString caption = into->node()->caption();
    into->refill();
    QStringList lines;
    if (report.error)
        lines << QStringLiteral("添加到 \"%1\" 时出现错误。").arg(caption)
              << errorText(*report.error);
    constexpr int kMostNamesListed = 10;
    if (fromFiles && !report.refused.isEmpty()) {
        lines << QStringLiteral("以下项目不是图片或文本，没有添加：")
              << report.refused.mid(0, kMostNamesListed);
        if (report.refused.size() > kMostNamesListed)
            lines << QStringLiteral("……（共 %1 个）").arg(report.refused.size());
    } else if (!report.refused.isEmpty()) {
        lines << QStringLiteral("拖来的不是图片（或只有图片的网址），没有添加。");
    }
    if (!lines.isEmpty())
        tell(lines.join(u'\n'));
}

void PopupActions::report(const QString& path, PasteResult result) {
    if (result != PasteResult::PictureMissing && result != PasteResult::NotDecodable)
        library_.notePasted(path);
    if (result == PasteResult::CopiedOnly)
        notice_.showBeside(bar_.frameGeometry());
    else
        reportPasteResult(result);
}
