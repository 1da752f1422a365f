#pragma once

#include <QObject>

class CopiedNotice;
class FolderPopup;
class Platform;
class QWidget;
enum class NodeKind;
enum class PasteResult;

// What a chosen popup entry does: pastes a picture or a snippet into the focused chat, or runs
// a System command, and tells the user how a paste went (a message box for a missing file,
// the note beside the bar when the keys could not be sent).
class PopupActions : public QObject {
public:
    // `bar` places the note.
    PopupActions(Platform& platform, FolderPopup& popup, CopiedNotice& notice, const QWidget& bar);

    void activate(const QString& path, NodeKind kind, int index);

private:
    void report(PasteResult result);

    Platform& platform_;
    FolderPopup& popup_;
    CopiedNotice& notice_;
    const QWidget& bar_;
};
