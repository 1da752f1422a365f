#pragma once

#include <QObject>

class BarNotice;
class FolderPopup;
class Library;
struct CopyInReport;
struct DroppedData;
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
                 ThumbnailLoader& thumbnails, BarNotice& notice, const QWidget& bar);

    void activate(const QString& path, NodeKind kind, int index);
    // The entry at `source` was dropped in `into` on its entry at `index` (-1: the placeholder):
    // a reorder refills that popup, a move closes the popups, a failure is reported once the
    // drag has ended.
    void drop(FolderPopup* into, const QString& source, int index);
    // Files or a picture from another program were dropped in `into` in front of its entry at
    // `index` (-1: at the end): copied in, the popup refilled, and what was left out or failed
    // told in the note beside the bar.
    void dropIncoming(FolderPopup* into, const DroppedData& data, int index);
    // `text` becomes a new snippet at the end of `into`'s folder.
    void addSnippet(FolderPopup* into, const QString& text);
    // Shows `text` in the note beside the bar.
    void tell(const QString& text);

private:
    // Refills `into` and names in the note what was left out or failed.
    void reportCopyIn(FolderPopup* into, const CopyInReport& report, bool fromFiles);
    // Tells how a paste of `path` went; one that reached the clipboard goes into 最近使用.
    void report(const QString& path, PasteResult result);

    Platform& platform_;
    Library& library_;
    FolderPopup& popup_;
    ThumbnailLoader& thumbnails_;
    BarNotice& notice_;
    const QWidget& bar_;
};
