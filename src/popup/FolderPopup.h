#pragma once

#include "popup/DroppedData.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

class LibraryNode;
class PopupView;
struct PopupContext;
enum class NodeKind;

// The popup that shows the children of one library node: folders, snippets and commands one
// per row, pictures as 44x44 thumbnails packed into rows. One class serves every level: a
// popup opens its submenu for a folder entry and keeps it; the first-level popup has no
// parent popup. What the entries look like and how the pointer acts on them is the view's;
// the popup places itself, opens the submenu and the preview, and reports choices and drops.
class FolderPopup : public QWidget {
    Q_OBJECT
public:
    explicit FolderPopup(const PopupContext& context, FolderPopup* parentPopup = nullptr);
    ~FolderPopup() override;

    // The node whose children are shown.
    LibraryNode* node() const { return node_; }
    void setNode(LibraryNode* node) { node_ = node; }
    // Screen x of the right edge of the bar label that opened the popup (0 for submenus):
    // a popup too wide for the screen's right side ends there.
    int labelRight() const { return labelRight_; }
    void setLabelRight(int right) { labelRight_ = right; }
    // The side this popup's submenus open on first.
    void setSubmenusOpenRight(bool right) { submenusOpenRight_ = right; }

    // Rescans the node's folder, lays out its children and places the popup's top-left corner
    // at the screen point (left, top), moved to stay on the screen. Does not show the popup.
    // A scan error is shown in a message box: the popup may be hidden or freed when it returns.
    void fill(int left, int top);
    // fill() where the popup stands.
    void refill();

    // Where a submenu of width `subWidth` opens beside a popup at `parentLeft` of `parentWidth`:
    // overlapping its edge by 2 pixels, to the right or left, flipping at the edges of `screen`.
    // `atRight` is the side asked for and becomes the side the submenu's own submenus take.
    static int submenuLeft(int parentLeft, int parentWidth, int subWidth, const QRect& screen,
                           bool& atRight);

    // For tests and the benchmarks.
    PopupView& view() const { return *view_; }
    FolderPopup* submenu() const { return submenu_; }

signals:
    // The first-level popup appeared; a popup of any level disappeared.
    void shown();
    void hidden();
    // A picture, a snippet or a command was chosen in this popup or one of its submenus, and
    // the popups have closed. Sent by the first-level popup; `index` is the entry's place in
    // its folder (for a command: in the System menu).
    void activated(const QString& path, NodeKind kind, int index);
    // A dragged entry was dropped in `popup` (this one or one of its submenus) on its entry at
    // `index` (-1: the placeholder of an empty folder). Sent by the first-level popup.
    void dropRequested(FolderPopup* popup, const QString& source, int index);
    // Files or a picture from another program were dropped in `popup` in front of its entry
    // at `index` (-1: at the end); reported by the first-level popup.
    void incomingDropRequested(FolderPopup* popup, const DroppedData& data, int index);
    // A right-click in `popup` on its entry at `index` (-1: on the empty space or "空") at the
    // screen point `at`; reported by the first-level popup.
    void menuRequested(FolderPopup* popup, int index, QPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    FolderPopup* topLevelPopup();
    void closeSubmenu();
    void freeSubmenu();
    void placeOnScreen(int left, int top, QSize size);
    // The pointer rested on the entry at `index`: a folder opens its submenu, a snippet or a
    // picture its preview.
    void rest(int index);
    void openSubmenuFor(int index);
    void activate(int index);
    // While an entry is dragged, a pointer over another program's window closes the popups,
    // as a press there would.
    void watchDrag();

    const PopupContext& context_;
    FolderPopup* parentPopup_;
    PopupView* view_;
    LibraryNode* node_ = nullptr;
    QPointer<FolderPopup> submenu_;
    int labelRight_ = 0;
    bool submenusOpenRight_ = true;
    QTimer dragWatch_;
};
