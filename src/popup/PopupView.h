#pragma once

#include "picture/ThumbnailGeometry.h"
#include "popup/DroppedData.h"
#include "popup/FolderLayout.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <optional>
#include <vector>

struct PopupContext;

enum class ScrollDirection { None, Up, Down };

// What resting the pointer on a cell has led to.
enum class HoverState {
    Idle,
    Armed,       // the hover timer runs for the selected cell
    SubmenuOpen, // the selected folder's submenu shows
    Preview,     // the selected snippet or picture shows its preview
};

// The inside of a popup: paints its cells and the two scroll buttons, and works out from the
// pointer which cell is hovered, pressed, dragged or dropped on. It decides nothing beyond
// itself: what a cell does is up to whoever listens to its signals.
class PopupView : public QWidget {
    Q_OBJECT
public:
    // `dragOwner` outlives every drag started here (the view itself may not).
    PopupView(const PopupContext& context, QWidget* parent, QObject* dragOwner);

    // Shows `cells` of the folder at `folderPath` (empty for the System menu) in a view of
    // `size`, scrolled to the top. The cell under a pointer that has not moved since is not
    // entered: only movement counts.
    void setCells(std::vector<PopupCell> cells, const QString& folderPath, QSize size);

    // The popup reports its submenu: open for the selected folder, or closed.
    void setSubmenuOpen(bool open);

    int cellCount() const { return static_cast<int>(cells_.size()); }
    const PopupCell& cell(int index) const { return cells_[static_cast<size_t>(index)]; }
    // Where the cell stands now, scrolling included.
    QRect cellRect(int index) const;
    // Whether the whole cell shows between the view's top and bottom lines.
    bool isCellInView(int index) const;
    // The in-view cell at `point`, or -1.
    int cellAt(QPoint point) const;
    // The rectangle of a scroll button that shows; empty when it is hidden.
    QRect scrollButtonRect(ScrollDirection direction) const;

    // For tests and the benchmarks.
    int hotIndex() const { return hotIndex_; }
    int selectedIndex() const { return selectedIndex_; }
    HoverState hoverState() const { return hoverState_; }
    ScrollDirection scrolling() const { return scrolling_; }
    const QTimer& hoverTimer() const { return hoverTimer_; }
    const QTimer& scrollTimer() const { return scrollTimer_; }
    // One step of scrolling, as the scroll timer makes it.
    void scrollStep();

signals:
    // The pointer came to another cell than the selected one (or re-armed it while dragging):
    // a submenu open for another cell goes.
    void hovered(int index);
    // The pointer rested on the selected cell for its delay.
    void rested(int index);
    // A click on a picture, a snippet or a command.
    void activated(int index);
    // A drop on the cell at `index` (-1: the placeholder of an empty folder).
    void dropRequested(const QString& source, int index);
    // Files or a picture from another program dropped in front of the cell at `index` (-1: on
    // the placeholder or the empty space: at the end).
    void incomingDropRequested(const DroppedData& data, int index);
    // A press on the view's empty space.
    void emptySpacePressed();
    // A right-click on the entry at `index`, or on the empty space or "空" (-1), at the screen
    // point `at`: the entry's or the folder's menu is wanted.
    void menuRequested(int index, QPoint at);
    // A cell of this view is being dragged.
    void dragStarted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Whether the drag under way came from another program (files, a picture), not from a
    // popup of this one.
    bool incomingDrag_ = false;
    // Where an incoming drag over `point` would land: a cell's index, -1 for the end, or
    // std::nullopt where nothing is taken (the scroll buttons, the System menu, 最近使用).
    std::optional<int> incomingDropIndex(QPoint point) const;
    // The pointer moved to `point`: leaves and enters cells and scroll buttons.
    void trackPointer(QPoint point);
    void requestMenu(int index, QPoint at);
    void pointerGone();
    ScrollDirection scrollButtonAt(QPoint point) const;
    // The first cell whose bottom lies below the view's line `viewY`; cellCount() when none.
    int firstCellEndingBelow(int viewY) const;
    void enterCell(int index);
    void leaveCell(int index);
    void select(int index);
    void arm(int delayMs, int index);
    void hoverTimeout();
    void click(int index);
    void openSubmenuSoon(int index);
    void enterScrollButton(ScrollDirection direction);
    void leaveScrollButton();
    void setHot(int index);
    void endPreview();
    bool submenuOpen() const { return hoverState_ == HoverState::SubmenuOpen; }

    void maybeStartDrag(QMouseEvent* event);
    // Drags the cell; returns once the drag has ended, when this view may be gone.
    void startDrag(int index);
    bool takesDrop(int index) const;
    QPixmap cellPicture(int index) const;

    // Looks up the thumbnails of the picture cells that came into view.
    void lookUpThumbnails();
    void followDevicePixelRatio();
    void thumbnailReady(const QString& path, const QImage& thumbnail);

    const PopupContext& context_;
    QObject* dragOwner_;
    std::vector<PopupCell> cells_;
    std::vector<QImage> thumbnails_;
    std::vector<bool> thumbnailAsked_;
    int thumbnailSide_ = ThumbnailSide; // in device pixels: thumbnailSideFor(the screen's ratio)
    QString folderPath_;
    int scrollOffset_ = 0; // added to every cell's top: negative once scrolled down
    bool topButtonShown_ = false;
    bool bottomButtonShown_ = false;
    ScrollDirection scrolling_ = ScrollDirection::None;

    int pointerCell_ = -1; // the cell last entered, or found under a still pointer
    ScrollDirection pointerButton_ = ScrollDirection::None;
    int hotIndex_ = -1;
    int selectedIndex_ = -1; // the cell the hover timer acts on
    int pressedIndex_ = -1;
    HoverState hoverState_ = HoverState::Idle;
    QTimer hoverTimer_;
    QTimer scrollTimer_;
};
