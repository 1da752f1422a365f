#pragma once

#include "library/LibraryNode.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <memory>

class FolderPopup;
class Library;
class PopupActions;
class ThumbnailLoader;
struct PopupContext;

// The small menu a right-click opens in a folder's popup, drawn as a popup of its own (it never
// takes the focus): on an entry 重命名…, 移到回收站 and 在文件夹中显示; on the empty space or
// "空" 粘贴到此文件夹 and 新建文件夹. Every change goes through the never-replacing routines and
// is reported when it fails.
class EntryMenu : public QObject {
public:
    // `popup` is the first-level popup whose right-clicks open the menu; `trashFolder` the
    // user's Trash ($XDG_DATA_HOME/Trash).
    EntryMenu(const PopupContext& context, FolderPopup& popup, PopupActions& actions,
              const QString& trashFolder);
    ~EntryMenu() override;

    // The menu's own popup (tests).
    FolderPopup& menuPopup() const { return *menu_; }

    void open(FolderPopup* in, int index, QPoint at);

private:
    void addCommand(const QString& caption, std::function<void()> action);
    void pasteIntoFolder();
    void makeFolder();
    void rename();
    void moveToTrash();
    void showInFolder();

    Library& library_;
    FolderPopup& popup_;
    PopupActions& actions_;
    ThumbnailLoader& thumbnails_;
    QString trashFolder_;
    LibraryNode commands_;
    std::unique_ptr<FolderPopup> menu_;
    // What the menu was opened on: the popup (while it lasts), its folder and the entry.
    QPointer<FolderPopup> target_; // a submenu may be freed while the menu is open
    QString folderPath_;
    QString entryPath_;
    QString entryCaption_;
};
