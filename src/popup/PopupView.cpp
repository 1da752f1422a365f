#include "popup/PopupView.h"

#include "library/EntryDrop.h"
#include "platform/Logging.h"
#include "platform/Platform.h"
#include "popup/CellPainter.h"
#include "popup/DragSession.h"
#include "popup/PopupContext.h"
#include "popup/PreviewWindow.h"
#include "thumbnails/ThumbnailLoader.h"
#include "thumbnails/ThumbnailSize.h"
#include "ui/MessageBox.h"
#include "ui/Theme.h"

#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>

namespace {
constexpr int kFolderDelay = 500;
constexpr int kOtherDelay = 800;
constexpr int kFirstScrollDelay = 150;
constexpr int kScrollDelay = 80;
constexpr int kScrollButtonWidth = 28;
constexpr int kScrollButtonHeight = 14;
constexpr int kDragThreshold = 5;
constexpr int kDragPictureMax = 64;
const QString kEntryMime = QStringLiteral("application/x-jolvex-entry");

bool isDraggable(const PopupCell& cell) {
    return !cell.placeholder && (cell.kind == NodeKind::Text || cell.kind == NodeKind::Folder ||
                                 cell.kind == NodeKind::Image);
}
} // namespace

PopupView::PopupView(const PopupContext& context, QWidget* parent, QObject* dragOwner)
    : QWidget(parent), context_(context), dragOwner_(dragOwner) {
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setMouseTracking(true);
    setAcceptDrops(true);
    setAttribute(Qt::WA_OpaquePaintEvent);

    hoverTimer_.setSingleShot(true);
    connect(&hoverTimer_, &QTimer::timeout, this, &PopupView::hoverTimeout);
    scrollTimer_.setSingleShot(false);
    connect(&scrollTimer_, &QTimer::timeout, this, &PopupView::scrollStep);
    connect(&context_.thumbnails, &ThumbnailLoader::ready, this, &PopupView::thumbnailReady);
}

void PopupView::setCells(std::vector<PopupCell> cells, const QString& folderPath, QSize size) {
    cells_ = std::move(cells);
    thumbnails_.assign(cells_.size(), QImage());
    thumbnailAsked_.assign(cells_.size(), false);
    thumbnailSide_ = thumbnailSideFor(devicePixelRatioF());
    folderPath_ = folderPath;
    scrollOffset_ = 0;
    resize(size);

    hoverTimer_.stop();
    scrollTimer_.stop();
    scrolling_ = ScrollDirection::None;
    hoverState_ = HoverState::Idle;
    hotIndex_ = -1;
    selectedIndex_ = -1;
    pressedIndex_ = -1;
    topButtonShown_ = false;
    bottomButtonShown_ = !cells_.empty() && !isCellInView(cellCount() - 1);
    const QPoint pointer = mapFromGlobal(context_.platform.cursorPos());
    pointerButton_ = scrollButtonAt(pointer);
    pointerCell_ = pointerButton_ == ScrollDirection::None ? cellAt(pointer) : -1;
    lookUpThumbnails();
    update();
}

void PopupView::setSubmenuOpen(bool open) {
    if (open)
        hoverState_ = HoverState::SubmenuOpen;
    else if (hoverState_ == HoverState::SubmenuOpen)
        hoverState_ = HoverState::Idle;
}

QRect PopupView::cellRect(int index) const {
    return cell(index).rect.translated(0, scrollOffset_);
}

// Cells show between the line below the frame's top and the line above its bottom.
bool PopupView::isCellInView(int index) const {
    const QRect rect = cellRect(index);
    return rect.y() >= 1 && rect.y() + rect.height() <= height() - 1;
}

int PopupView::firstCellEndingBelow(int viewY) const {
    // Cells are laid out top to bottom: a binary search skips those that end above the line.
    const int y = viewY - scrollOffset_;
    const auto it = std::partition_point(cells_.begin(), cells_.end(), [y](const PopupCell& cell) {
        return cell.rect.y() + cell.rect.height() <= y;
    });
    return static_cast<int>(it - cells_.begin());
}

int PopupView::cellAt(QPoint point) const {
    for (int i = firstCellEndingBelow(point.y()); i < cellCount() && cellRect(i).y() <= point.y();
         ++i)
        if (cellRect(i).contains(point) && isCellInView(i))
            return i;
    return -1;
}

QRect PopupView::scrollButtonRect(ScrollDirection direction) const {
    const int left = (width() + 2 - kScrollButtonWidth) / 2;
    if (direction == ScrollDirection::Up && topButtonShown_)
        return QRect(left, 2, kScrollButtonWidth, kScrollButtonHeight);
    if (direction == ScrollDirection::Down && bottomButtonShown_)
        return QRect(left, height() - kScrollButtonHeight - 2, kScrollButtonWidth,
                     kScrollButtonHeight);
    return QRect();
}

ScrollDirection PopupView::scrollButtonAt(QPoint point) const {
    for (ScrollDirection direction : {ScrollDirection::Up, ScrollDirection::Down})
        if (scrollButtonRect(direction).contains(point))
            return direction;
    return ScrollDirection::None;
}

void PopupView::paintEvent(QPaintEvent* event) {
    followDevicePixelRatio();
    QPainter painter(this);
    painter.fillRect(event->rect(), MenuBackColor);
    for (int i = firstCellEndingBelow(event->rect().top());
         i < cellCount() && cellRect(i).y() <= event->rect().bottom(); ++i) {
        const QRect rect = cellRect(i);
        if (!rect.intersects(event->rect()) || !isCellInView(i))
            continue;
        painter.save();
        painter.translate(rect.topLeft());
        painter.setClipRect(QRect(QPoint(0, 0), rect.size()));
        const CellLook look{i == hotIndex_, thumbnails_[static_cast<size_t>(i)]};
        paintCell(painter, cell(i), rect.size(), look);
        painter.restore();
    }
    for (ScrollDirection direction : {ScrollDirection::Up, ScrollDirection::Down}) {
        const QRect button = scrollButtonRect(direction);
        if (!button.isEmpty())
            paintScrollButton(painter, button, direction, scrolling_ == direction, palette());
    }
}

// While one of the program's modal windows is open the view takes no pointer input: the
// popups are not blocked by Qt, and a hover or a click would act behind the modal window.
void PopupView::enterEvent(QEnterEvent* event) {
    if (!modalWindowsOpen())
        trackPointer(event->position().toPoint());
}

void PopupView::leaveEvent(QEvent*) {
    pointerGone();
}

void PopupView::pointerGone() {
    if (pointerButton_ != ScrollDirection::None) {
        pointerButton_ = ScrollDirection::None;
        leaveScrollButton();
    }
    const int left = pointerCell_;
    pointerCell_ = -1;
    if (left >= 0 && !modalWindowsOpen())
        leaveCell(left);
}

void PopupView::trackPointer(QPoint point) {
    const ScrollDirection button = scrollButtonAt(point);
    const int cell = button == ScrollDirection::None ? cellAt(point) : -1;
    // Leaving comes before entering, as it would between two widgets.
    const int leftCell = pointerCell_;
    const bool cellChanged = cell != leftCell;
    const bool buttonChanged = button != pointerButton_;
    pointerCell_ = cell;
    if (cellChanged && leftCell >= 0)
        leaveCell(leftCell);
    if (buttonChanged && pointerButton_ != ScrollDirection::None)
        leaveScrollButton();
    pointerButton_ = button;
    if (buttonChanged && button != ScrollDirection::None)
        enterScrollButton(button);
    if (cellChanged && cell >= 0)
        enterCell(cell);
}

void PopupView::enterCell(int index) {
    const PopupCell& entered = cell(index);
    if (!entered.placeholder)
        select(index);
    if (entered.kind != NodeKind::Separator)
        setHot(index);
    if (!entered.placeholder)
        arm(entered.kind == NodeKind::Folder ? kFolderDelay : kOtherDelay, index);
}

void PopupView::leaveCell(int index) {
    endPreview();
    if (submenuOpen())
        return; // the folder whose submenu is open stays highlighted
    if (hotIndex_ == index)
        setHot(-1);
}

void PopupView::select(int index) {
    endPreview();
    hoverTimer_.stop();
    if (hoverState_ == HoverState::Armed)
        hoverState_ = HoverState::Idle;
    if (index == selectedIndex_)
        return; // re-entering the folder whose submenu is open keeps that submenu
    emit hovered(index);
    setHot(-1);
}

void PopupView::arm(int delayMs, int index) {
    endPreview();
    hoverTimer_.stop();
    if (hoverState_ == HoverState::Armed)
        hoverState_ = HoverState::Idle;
    // After a drag the window system enters the cell under the pointer again, even when the
    // drop has just hidden the popup: a hidden view arms nothing.
    if (!isVisible())
        return;
    if (index == selectedIndex_ && !context_.drag.isDragging() && submenuOpen())
        return;
    emit hovered(index);
    selectedIndex_ = index;
    hoverState_ = HoverState::Armed;
    hoverTimer_.start(delayMs);
}

void PopupView::hoverTimeout() {
    hoverTimer_.stop();
    if (hoverState_ == HoverState::Armed)
        hoverState_ = HoverState::Idle;
    if (modalWindowsOpen() || selectedIndex_ < 0 || selectedIndex_ >= cellCount())
        return;
    const QPoint pointer = mapFromGlobal(context_.platform.cursorPos());
    if (!isCellInView(selectedIndex_) || !cellRect(selectedIndex_).contains(pointer))
        return; // the pointer left before the delay ran out
    const NodeKind kind = cell(selectedIndex_).kind;
    if (kind == NodeKind::Text || kind == NodeKind::Image)
        hoverState_ = HoverState::Preview;
    emit rested(selectedIndex_);
}

void PopupView::endPreview() {
    context_.preview.hide();
    if (hoverState_ == HoverState::Preview)
        hoverState_ = HoverState::Idle;
}

void PopupView::setHot(int index) {
    if (index == hotIndex_)
        return;
    if (hotIndex_ >= 0 && hotIndex_ < cellCount())
        update(cellRect(hotIndex_));
    hotIndex_ = index;
    if (index >= 0)
        update(cellRect(index));
}

void PopupView::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    // The scroll buttons act on the resting pointer only: a press on one does nothing.
    if (modalWindowsOpen() || scrollButtonAt(point) != ScrollDirection::None)
        return;
    endPreview();
    const int index = cellAt(point);
    if (event->button() == Qt::RightButton) {
        requestMenu(index, event->globalPosition().toPoint());
        return;
    }
    if (index < 0) {
        emit emptySpacePressed();
        return;
    }
    pressedIndex_ = index;
    context_.drag.press(event->globalPosition().toPoint());
}

void PopupView::requestMenu(int index, QPoint at) {
    // Only a folder's entries and empty space have a menu: not the System menu's commands, not
    // 最近使用's entries, which live in other folders.
    if (folderPath_.isEmpty())
        return;
    if (index < 0 || cell(index).placeholder) {
        emit menuRequested(-1, at);
        return;
    }
    const NodeKind kind = cell(index).kind;
    if (kind == NodeKind::Text || kind == NodeKind::Image || kind == NodeKind::Folder)
        emit menuRequested(index, at);
}

void PopupView::mouseReleaseEvent(QMouseEvent* event) {
    const int pressed = pressedIndex_;
    pressedIndex_ = -1;
    if (pressed < 0)
        return;
    context_.drag.release();
    if (modalWindowsOpen())
        return;
    if (event->button() == Qt::LeftButton && cellAt(event->position().toPoint()) == pressed)
        click(pressed);
}

void PopupView::click(int index) {
    endPreview();
    const PopupCell& clicked = cell(index);
    if (context_.drag.isDragging() || clicked.placeholder || clicked.kind == NodeKind::Separator)
        return;
    if (clicked.kind == NodeKind::Folder) {
        openSubmenuSoon(index);
        return;
    }
    // Whoever acts on it may close the popups and run a nested event loop: nothing of this
    // view is touched afterwards.
    emit activated(index);
}

void PopupView::openSubmenuSoon(int index) {
    endPreview();
    hoverTimer_.stop();
    if (!isVisible() || submenuOpen())
        return;
    selectedIndex_ = index;
    hoverState_ = HoverState::Armed;
    hoverTimer_.start(1); // once the click's own events are through
}

void PopupView::mouseMoveEvent(QMouseEvent* event) {
    if (modalWindowsOpen())
        return;
    trackPointer(event->position().toPoint());
    maybeStartDrag(event);
}

void PopupView::maybeStartDrag(QMouseEvent* event) {
    const DragSession& drag = context_.drag;
    // The left button alone, on a snippet, folder or picture of a folder (not of 最近使用),
    // moved more than the threshold.
    if (folderPath_.isEmpty() || pressedIndex_ < 0 || !isDraggable(cell(pressedIndex_)) ||
        !drag.isPressed() || drag.isDragging() || event->buttons() != Qt::LeftButton ||
        event->modifiers() != Qt::NoModifier)
        return;
    const QPoint moved = event->globalPosition().toPoint() - drag.pressPoint();
    if (std::abs(moved.x()) > kDragThreshold || std::abs(moved.y()) > kDragThreshold)
        startDrag(pressedIndex_);
}

QPixmap PopupView::cellPicture(int index) const {
    const QRect rect = cellRect(index);
    const QSize size(std::min(rect.width(), kDragPictureMax),
                     std::min(rect.height(), kDragPictureMax));
    const qreal ratio = devicePixelRatioF();
    QPixmap picture(size * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(MenuBackColor);
    QPainter painter(&picture);
    const CellLook look{index == hotIndex_, thumbnails_[static_cast<size_t>(index)]};
    paintCell(painter, cell(index), rect.size(), look);
    return picture;
}

void PopupView::startDrag(int index) {
    // The session, the preview and the drag's owner outlive the drag; this view may not: a
    // drop refills or frees popups while exec() runs.
    DragSession& drag = context_.drag;
    PreviewWindow& preview = context_.preview;
    const QPointer<PopupView> self(this);
    const QString path = cell(index).path;
    // The cell's picture rides on the pointer as the drag cursor (a thumbnail, or the start of
    // a row), not in a window of its own: the window under the pointer stays the one the
    // pointer is over, which the popups look at. Where a drop is refused the refused cursor
    // shows.
    const QPixmap picture = cellPicture(index);
    pressedIndex_ = -1;
    drag.start(path);
    emit dragStarted();
    auto* mime = new QMimeData;
    mime->setData(kEntryMime, path.toUtf8());
    auto* qdrag = new QDrag(dragOwner_);
    qdrag->setMimeData(mime);
    qdrag->setDragCursor(picture, Qt::MoveAction);
    const QPointer<QDrag> guard(qdrag);
    qdrag->exec(Qt::MoveAction);
    if (guard)
        guard->deleteLater();
    drag.release();
    drag.finish();
    // A preview shown while the drag rested on a cell ends with the drag, whatever it ended in.
    preview.hide();
    if (self)
        self->endPreview();
}

bool PopupView::takesDrop(int index) const {
    const PopupCell& target = cell(index);
    const QString& dragged = context_.drag.sourcePath();
    if (folderPath_.isEmpty())
        return false; // the System menu and 最近使用 take no drops
    if (target.placeholder)
        return acceptsDropInto(dragged, folderPath_);
    return acceptsDropOn(dragged, target.kind, target.path);
}

void PopupView::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData& mime = *event->mimeData();
    incomingDrag_ = !mime.hasFormat(kEntryMime);
    if (incomingDrag_ && !mayCarryDroppedData(mime)) {
        event->ignore();
        return;
    }
    // Accepted here so that the moves and the leave arrive; each move decides. Entering a cell
    // turns it hot and arms the hover timer, so that resting on a folder opens its submenu and
    // lets the drop go deeper.
    event->accept();
    trackPointer(event->position().toPoint());
}

void PopupView::dragMoveEvent(QDragMoveEvent* event) {
    trackPointer(event->position().toPoint());
    if (incomingDrag_) {
        // Copied, whatever the other program proposed: its files stay where they are.
        if (incomingDropIndex(event->position().toPoint())) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        } else {
            event->ignore();
        }
        return;
    }
    if (pointerCell_ >= 0 && takesDrop(pointerCell_))
        event->acceptProposedAction();
    else
        event->ignore(); // the refused cursor, also over the scroll buttons
}

void PopupView::dragLeaveEvent(QDragLeaveEvent*) {
    pointerGone();
}

std::optional<int> PopupView::incomingDropIndex(QPoint point) const {
    if (folderPath_.isEmpty() || scrollButtonAt(point) != ScrollDirection::None)
        return std::nullopt;
    const int index = cellAt(point);
    if (index < 0 || cell(index).placeholder)
        return -1; // the empty space below the cells, or "空": at the end
    if (cell(index).kind == NodeKind::Separator || cell(index).kind == NodeKind::Command)
        return std::nullopt;
    return index;
}

void PopupView::dropEvent(QDropEvent* event) {
    const QPoint point = event->position().toPoint();
    if (incomingDrag_) {
        const std::optional<int> index = incomingDropIndex(point);
        if (!index) {
            event->ignore();
            return;
        }
        event->setDropAction(Qt::CopyAction);
        event->accept();
        // What other programs offer differs from one to the next: worth a line when asked for.
        qCInfo(lcFiles) << "a drop from another program offers" << event->mimeData()->formats();
        emit incomingDropRequested(
            readDroppedData(
                *event->mimeData(),
                [this](const QString& path) { return context_.platform.offerDirectSave(path); }),
            *index);
        return;
    }
    const int index = scrollButtonAt(point) == ScrollDirection::None ? cellAt(point) : -1;
    if (index < 0 || !takesDrop(index)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit dropRequested(context_.drag.sourcePath(), cell(index).placeholder ? -1 : index);
}

void PopupView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    hoverTimer_.stop();
    scrollTimer_.stop();
    scrolling_ = ScrollDirection::None;
    pointerButton_ = ScrollDirection::None;
    pointerCell_ = -1;
    hoverState_ = HoverState::Idle;
}

void PopupView::enterScrollButton(ScrollDirection direction) {
    select(0);
    scrolling_ = direction;
    update(scrollButtonRect(direction));
    scrollTimer_.start(kFirstScrollDelay);
}

void PopupView::leaveScrollButton() {
    const ScrollDirection was = scrolling_;
    scrollTimer_.stop();
    scrolling_ = ScrollDirection::None;
    if (was != ScrollDirection::None)
        update(scrollButtonRect(was));
}

void PopupView::scrollStep() {
    if (cells_.empty()) {
        scrollTimer_.stop();
        return;
    }
    scrollTimer_.setInterval(kScrollDelay);
    const int last = cellCount() - 1;
    const int viewBottom = height() - 1;
    // Each step moves the cells by the height of the next hidden one.
    if (scrolling_ == ScrollDirection::Up) { // cells move down
        int step = PopupRowHeight;
        for (int j = 0; j <= last && cellRect(j).y() < 1; ++j)
            step = cell(j).rect.height();
        scrollOffset_ += step;
        bottomButtonShown_ = bottomButtonShown_ || !isCellInView(last);
        if (isCellInView(0)) {
            scrollTimer_.stop();
            topButtonShown_ = false;
        }
    } else if (scrolling_ == ScrollDirection::Down) { // cells move up
        int step = PopupRowHeight;
        for (int j = last; j >= 0 && cellRect(j).bottom() + 1 > viewBottom; --j)
            step = cell(j).rect.height();
        scrollOffset_ -= step;
        topButtonShown_ = topButtonShown_ || cellRect(0).y() < 1;
        if (isCellInView(last)) {
            scrollTimer_.stop();
            bottomButtonShown_ = false;
        }
    }
    // A button that went away from under the pointer is left.
    if (pointerButton_ != ScrollDirection::None && scrollButtonRect(pointerButton_).isEmpty()) {
        pointerButton_ = ScrollDirection::None;
        leaveScrollButton();
    }
    lookUpThumbnails();
    update();
}

void PopupView::followDevicePixelRatio() {
    // The popup moved to a screen of another ratio, or the ratio changed: the thumbnails in view
    // are asked for again at the new size; the old ones show until the new ones come.
    const int side = thumbnailSideFor(devicePixelRatioF());
    if (side == thumbnailSide_)
        return;
    thumbnailSide_ = side;
    thumbnailAsked_.assign(cells_.size(), false);
    lookUpThumbnails();
}

void PopupView::lookUpThumbnails() {
    for (int i = firstCellEndingBelow(0); i < cellCount() && cellRect(i).y() < height(); ++i) {
        const auto at = static_cast<size_t>(i);
        if (cells_[at].kind != NodeKind::Image || thumbnailAsked_[at] || !isCellInView(i))
            continue;
        thumbnailAsked_[at] = true;
        // One still to be made arrives with ready().
        QImage thumbnail = context_.thumbnails.thumbnail(cells_[at].path, thumbnailSide_);
        if (!thumbnail.isNull() || thumbnails_[at].isNull())
            thumbnails_[at] = std::move(thumbnail);
    }
}

void PopupView::thumbnailReady(const QString& path, const QImage& thumbnail) {
    for (int i = 0; i < cellCount(); ++i) {
        const auto at = static_cast<size_t>(i);
        if (cells_[at].kind != NodeKind::Image || cells_[at].path != path)
            continue;
        if (!thumbnail.isNull() && thumbnailSideFor(thumbnail.devicePixelRatio()) != thumbnailSide_)
            continue; // made for a screen of another ratio

        thumbnails_[at] = thumbnail;
        thumbnailAsked_[at] = true;
        if (isCellInView(i))
            update(cellRect(i));
    }
}
