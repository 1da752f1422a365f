#include "app/EntryMenu.h"

#include "app/PopupActions.h"
#include "base/FileRoutines.h"
#include "base/NameCompare.h"
#include "library/EntryEdits.h"
#include "library/FolderScan.h"
#include "library/Library.h"
#include "popup/DroppedData.h"
#include "popup/FolderPopup.h"
#include "popup/PopupContext.h"
#include "thumbnails/ThumbnailLoader.h"
#include "ui/ErrorText.h"
#include "ui/MessageBox.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDateTime>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMimeData>
#include <QUrl>

namespace {
// Told once the handler that found it has returned: a message box is a nested event loop.
void reportLater(const QString& text) {
    QMetaObject::invokeMethod(
        qApp, [text] { showMessageBox(text, MessageKind::Error); }, Qt::QueuedConnection);
}

QString failureText(const QString& what, const std::optional<FileError>& error) {
    return error ? what + QLatin1Char('\n') + errorText(*error) : what;
}

// The popup the menu was opened in, while it still shows that folder.
FolderPopup* stillShowing(const QPointer<FolderPopup>& popup, const QString& folderPath) {
    return popup && popup->isVisible() && popup->node() && popup->node()->path() == folderPath
               ? popup.data()
               : nullptr;
}
} // namespace

EntryMenu::EntryMenu(const PopupContext& context, FolderPopup& popup, PopupActions& actions,
                     const QString& trashFolder)
    : library_(context.library), popup_(popup), actions_(actions), thumbnails_(context.thumbnails),
      trashFolder_(trashFolder), menu_(std::make_unique<FolderPopup>(context)) {
    connect(&popup_, &FolderPopup::menuRequested, this, &EntryMenu::open);
    // The menu goes with the popups it was opened in.
    connect(&popup_, &FolderPopup::hidden, this, [this] {
        if (!popup_.isVisible())
            menu_->hide();
    });
    connect(menu_.get(), &FolderPopup::activated, this,
            [this](const QString&, NodeKind kind, int index) {
                if (kind == NodeKind::Command && index >= 0 && index < commands_.childCount())
                    commands_.child(index)->trigger();
            });
}

EntryMenu::~EntryMenu() = default;

void EntryMenu::addCommand(const QString& caption, std::function<void()> action) {
    commands_.addChild(caption, QString(), NodeKind::Command)->setAction(std::move(action));
}

void EntryMenu::open(FolderPopup* in, int index, QPoint at) {
    LibraryNode* folder = in->node();
    target_ = in;
    folderPath_ = folder->path();
    const LibraryNode* entry = folder->childOrNull(index);
    entryPath_ = entry ? entry->path() : QString();
    entryCaption_ = entry ? entry->caption() : QString();
    commands_.clearChildren();
    if (entry) {
        addCommand(QStringLiteral("重命名…"), [this] { rename(); });
        addCommand(QStringLiteral("移到回收站"), [this] { moveToTrash(); });
        addCommand(QStringLiteral("在文件夹中显示"), [this] { showInFolder(); });
    } else {
        addCommand(QStringLiteral("粘贴到此文件夹"), [this] { pasteIntoFolder(); });
        addCommand(QStringLiteral("新建文件夹"), [this] { makeFolder(); });
    }
    menu_->setNode(&commands_);
    menu_->setLabelRight(0);
    menu_->fill(at.x(), at.y());
    menu_->show();
}

void EntryMenu::pasteIntoFolder() {
    FolderPopup* into = stillShowing(target_, folderPath_);
    if (!into)
        return;
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    const DroppedData data = clipboard ? readDroppedData(*clipboard) : DroppedData();
    if (!data.isEmpty())
        actions_.dropIncoming(into, data, -1);
    else if (clipboard && clipboard->hasText() && !clipboard->text().trimmed().isEmpty())
        actions_.addSnippet(into, clipboard->text());
    else
        actions_.tell(QStringLiteral("剪贴板中没有图片、文件或文本。"));
}

void EntryMenu::makeFolder() {
    std::optional<FileError> error;
    if (!makeNewFolder(folderPath_ + PathSeparator + QStringLiteral("新建文件夹"), &error))
        reportLater(failureText(QStringLiteral("无法新建文件夹。"), error));
    if (FolderPopup* into = stillShowing(target_, folderPath_))
        into->refill();
}

void EntryMenu::rename() {
    // The dialog takes the keyboard, which the popups never do: they close first, and the
    // dialog runs once this handler has returned.
    popup_.hide();
    QMetaObject::invokeMethod(
        this,
        [this, path = entryPath_, folder = folderPath_, caption = entryCaption_] {
            bool ok = false;
            const QString name =
                QInputDialog::getText(nullptr, QStringLiteral("重命名"), QStringLiteral("新名称："),
                                      QLineEdit::Normal, caption, &ok)
                    .trimmed();
            if (!ok || name == caption)
                return;
            if (!isSafeFileName(name)) {
                showMessageBox(QStringLiteral("名称不能为空，不能是“.”或“..”，也不能含有“/”。"),
                               MessageKind::Error);
                return;
            }
            // Scanned afresh: the library's nodes may have changed while the dialog was open.
            LibraryNode scanned(QString(), folder, NodeKind::Folder);
            runReportingErrors([&] { loadFolderItems(&scanned); });
            std::optional<FileError> error;
            QString renamedTo;
            if (!renameEntry(&scanned, path, name, &error, &renamedTo)) {
                showMessageBox(
                    failureText(QStringLiteral("无法重命名 \"%1\"。").arg(caption), error),
                    MessageKind::Error);
                return;
            }
            thumbnails_.forget(path);
            library_.notePathMoved(path, renamedTo);
            if (error) // renamed, but its Order.ini line could not follow
                showMessageBox(errorText(*error), MessageKind::Error);
        },
        Qt::QueuedConnection);
}

void EntryMenu::moveToTrash() {
    FolderPopup* in = stillShowing(target_, folderPath_);
    LibraryNode scanned(QString(), folderPath_, NodeKind::Folder);
    LibraryNode* folder = in ? in->node() : &scanned;
    std::optional<FileError> error;
    const bool trashed =
        ::moveToTrash(folder, entryPath_, trashFolder_, QDateTime::currentDateTime(), &error);
    if (!trashed || error)
        reportLater(failureText(
            trashed ? QString() : QStringLiteral("无法把 \"%1\" 移到回收站。").arg(entryCaption_),
            error));
    if (trashed)
        thumbnails_.forget(entryPath_);
    if (in)
        in->refill();
}

void EntryMenu::showInFolder() {
    popup_.hide();
    // The file manager shows the entry selected in its folder, where the desktop offers that;
    // else the folder opens.
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(entryPath_).toString()} << QString();
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, folder = folderPath_] {
        if (watcher->isError())
            QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
        watcher->deleteLater();
    });
}
