#pragma once

#include "popup/FolderLayout.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <vector>

class LibraryNode;
class PopupEntry;
class ScrollButton;
struct PopupContext;

enum class ScrollDirection { None, Up, Down };

// The popup that shows the children of one library node: folders, snippets and commands one
// per row, pictures as 44x44 thumbnails packed into rows. One class serves every level: a
// popup opens its submenu for a folder entry and keeps it; the first-level popup has no
// parent popup.
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
    bool submenusOpenRight() const { return submenusOpenRight_; }
    void setSubmenusOpenRight(bool right) { submenusOpenRight_ = right; }

    // Rescans the node's folder, rebuilds the entries and places the popup's top-left corner
    // at the screen point (left, top), moved to stay on the screen. Does not show the popup.
    // A scan error is shown in a message box: the popup may be hidden or freed when it returns.
    void fill(int left, int top);
    // fill() where the popup stands.
    void refill();
    // The client width the children of `node` need, between 92 and `maxWidth`.

    // What the entries report.
    void entryEntered(int index);
    // Arms the hover timer for the entry at `index`: resting there opens its submenu or preview.
    void armHoverTimer(int delayMs, int index);
    // A click on the folder at `index`: its submenu opens at once, unless one is open.
    void openSubmenuSoon(int index);
    void closeSubmenu();
    // The hover timer ran out: the entry under the pointer opens its submenu or its preview.
    void hoverTimeout();
    // The dragged entry was dropped on `target` (null: the placeholder): a reorder refills
    // this popup, a move closes the popups, a failure is reported.
    void dropOn(LibraryNode* target);

    // What the scroll buttons report.
    void scrollButtonEntered(ScrollDirection direction);
    void scrollButtonLeft(ScrollDirection direction);
    // One step of scrolling while the pointer rests on a scroll button.
    void scrollStep();

    // The first-level popup, which holds every other one.
    FolderPopup* topLevelPopup();
    // Whether the pointer is still where it was when the entries were last rebuilt: an entry
    // that appears under a pointer that has not moved is entered without any movement.
    bool pointerUnmovedSinceFill() const;
    // While an entry is dragged, a pointer over another program's window closes the popups,
    // as a press there would.
    void watchDrag();
    const PopupContext& context() const { return context_; }

    // Where a submenu of width `subWidth` opens beside a popup at `parentLeft` of `parentWidth`:
    // overlapping its edge by 2 pixels, to the right or left, flipping at the edges of `screen`.
    // `atRight` is the side asked for and becomes the side the submenu's own submenus take.
    static int submenuLeft(int parentLeft, int parentWidth, int subWidth, const QRect& screen,
                           bool& atRight);

    // For tests and the benchmarks: the entries, one for each child in its order; an entry
    // becomes a widget only once it comes into view (null until then), so that a folder of
    // thousands opens as fast as a small one.
    const std::vector<PopupEntry*>& entries() const { return entries_; }
    FolderPopup* submenu() const { return submenu_; }
    int selectedIndex() const { return selectedIndex_; }
    const QTimer& hoverTimer() const { return hoverTimer_; }
    const QTimer& scrollTimer() const { return scrollTimer_; }
    ScrollButton* scrollButton(ScrollDirection direction) const;
    ScrollDirection scrolling() const { return scrolling_; }

signals:
    // The first-level popup appeared or disappeared.
    void shown();
    void hidden();
    // A picture, a snippet or a command was chosen in this popup or one of its submenus, and
    // the popups have closed. Sent by the first-level popup; `index` is the entry's place in
    // its folder (for a command: in the System menu).
    void activated(const QString& path, NodeKind kind, int index);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void dataPanelPressed();
    void freeSubmenu();
    bool submenuShown() const;
    void discardEntries();
    // Where the entry at `index` stands now, in the data panel.
    QRect entryRect(int index) const;
    bool inView(int index) const;
    PopupEntry* buildEntry(int index);
    // Builds the entries that came into view, moves the built ones to where they stand now and
    // shows only those in view.
    void placeEntries();
    void openSubmenuFor(PopupEntry* entry);

    const PopupContext& context_;
    FolderPopup* parentPopup_;
    LibraryNode* node_ = nullptr;
    std::vector<PopupEntry*> entries_; // index = position of the node among its siblings
    // What each entry shows and where it stands in the data panel before any scrolling.
    std::vector<PopupCell> cells_;
    int scrollOffset_ = 0; // added to every entry's top: negative once scrolled down
    // Entries show between these data-panel lines.
    int viewTop_ = 0;
    int viewBottom_ = 0;
    QPointer<FolderPopup> submenu_;
    int selectedIndex_ = -1; // the entry the hover timer acts on
    int labelRight_ = 0;
    bool submenusOpenRight_ = true;
    ScrollDirection scrolling_ = ScrollDirection::None;

    QWidget* border_ = nullptr;
    QWidget* dataPanel_ = nullptr;
    ScrollButton* topScroll_ = nullptr;
    ScrollButton* bottomScroll_ = nullptr;
    QTimer scrollTimer_;
    QTimer hoverTimer_;
    QTimer dragWatch_;
    QPoint pointerAtFill_{-1, -1};
};
