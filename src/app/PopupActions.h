#pragma once

#include <QObject>

class CopiedNotice;
class FolderPopup;
class Library;
class Platform;
class QWidget;
class ThumbnailLoader;
enum class NodeKind;
enum class PasteResult;

// What the popups' choices and drops do: a chosen picture or snippet is pasted into the focused
// chat, a command runs, and the user is told how a paste went (a message box for a missing
// file, the note beside the bar when the keys could not be sent); a dropped entry is moved in
// the library.
class PopupActions : public QObject {
public:
    // `bar` places the note; `library` keeps the recent list.
    PopupActions(Platform& platform, Library& library, FolderPopup& popup,
                 ThumbnailLoader& thumbnails, CopiedNotice& notice, const QWidget& bar);

    void activate(const QString& path, NodeKind kind, int index);
    // The entry at `source` was dropped in `into` on its entry at `index` (-1: the placeholder):
    // a reorder refills that popup, a move closes the popups, a failure is reported once the
    // drag has ended.
    void drop(FolderPopup* into, const QString& source, int index);

private:
    // Tells how a paste of `path` went; one that reached the clipboard goes into 最近使用.
    void report(const QString& path, PasteResult result);

    Platform& platform_;
    Library& library_;
    FolderPopup& popup_;
    ThumbnailLoader& thumbnails_;
    CopiedNotice& notice_;
    const QWidget& bar_;
};
