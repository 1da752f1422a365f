#include "popup/PopupEntry.h"

#include "delivery/ThumbnailCache.h"
#include "library/EntryDrop.h"
#include "library/LibraryNode.h"
#include "picture/ThumbnailGeometry.h"
#include "popup/DragSession.h"
#include "popup/FolderPopup.h"
#include "popup/PopupContext.h"
#include "popup/PreviewWindow.h"
#include "ui/IconList.h"
#include "ui/MessageBox.h"
#include "ui/Theme.h"

#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kTextLeft = 26;
constexpr int kArrowRoom = 16;
constexpr int kArrowIcon = 9;
constexpr int kFolderDelay = 500;
constexpr int kOtherDelay = 800;

// A 1-pixel frame in `pen` around a fill of `brush`, inside `rect`.
void frameRect(QPainter& painter, const QRect& rect, const QColor& pen, const QColor& brush) {
    painter.fillRect(rect, pen);
    painter.fillRect(rect.adjusted(1, 1, -1, -1), brush);
}
} // namespace

PopupEntry::PopupEntry(FolderPopup& popup, PopupCell cell, int index)
    : popup_(&popup), cell_(std::move(cell)), index_(index) {
    if (cell_.placeholder)
        textColour_ = PlaceholderTextColor;
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, MenuBackColor);
    setPalette(colours);
    setGeometry(1, 1, 44, 22);
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::NoFocus);
    setFont(barFont());
    setAcceptDrops(true);
}

void PopupEntry::setThumbnail(const QImage& thumbnail) {
    thumbnail_ = thumbnail;
    update();
}

void PopupEntry::setHot(bool hot) {
    if (hot_ == hot)
        return;
    hot_ = hot;
    update();
}

LibraryNode* PopupEntry::currentNode() const {
    if (!popup_ || cell_.placeholder || !popup_->node() || index_ >= popup_->node()->childCount())
        return nullptr;
    return popup_->node()->child(index_);
}

void PopupEntry::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r = rect();
    const QColor pen = hot_ ? ItemHotPenColor : ItemPenColor;
    const QColor brush = hot_ ? ItemHotBrushColor : MenuBackColor;
    if (!hot_)
        painter.fillRect(r, brush);
    if (cell_.kind == NodeKind::Image) {
        drawThumbnail(painter, pen, brush);
        return;
    }
    if (hot_)
        frameRect(painter, r, pen, brush);
    else if (popup_)
        painter.drawPixmap(0, 0, popup_->context().gutter);
    const int icon = cell_.checked ? CheckMarkIcon : static_cast<int>(cell_.kind);
    drawListIcon(painter, icon, QPoint(2, 3));
    if (cell_.kind == NodeKind::Folder)
        drawListIcon(painter, kArrowIcon, QPoint(r.right() + 1 - kArrowRoom, 3));
    drawCaption(painter, r);
}

void PopupEntry::drawCaption(QPainter& painter, QRect rect) {
    if (cell_.kind == NodeKind::Separator) {
        painter.setPen(ItemPenColor);
        const int y = rect.height() / 2;
        painter.drawLine(rect.left() + kTextLeft, y, rect.right() - 1, y);
        return;
    }
    rect.setLeft(rect.left() + kTextLeft);
    if (cell_.kind == NodeKind::Folder)
        rect.setRight(rect.right() - kArrowRoom);
    painter.setFont(font());
    painter.setPen(textColour_);
    const QString shown =
        fontMetrics().elidedText(cell_.caption, Qt::ElideRight, rect.width(), Qt::TextShowMnemonic);
    painter.drawText(
        rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, shown);
}

void PopupEntry::drawThumbnail(QPainter& painter, const QColor& pen, const QColor& brush) {
    frameRect(painter, rect().adjusted(1, 1, -1, -1), pen, brush);
    if (thumbnail_.isNull())
        return;
    const QSize size = thumbnailSize(thumbnail_.size());
    const QPoint at(ThumbnailCellFrame + (ThumbnailSide - size.width()) / 2,
                    ThumbnailCellFrame + (ThumbnailSide - size.height()) / 2);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(at, size), thumbnail_);
}

// While one of the program's modal windows is open the entries take no pointer input: the
// popups are not blocked by Qt, and a hover or a click would act behind the modal window.
void PopupEntry::enterEvent(QEnterEvent*) {
    // After a refill in place the entry under a still pointer is entered too: only real
    // movement counts.
    if (!modalWindowsOpen() && popup_ && !popup_->pointerUnmovedSinceFill())
        pointerEntered();
}

void PopupEntry::leaveEvent(QEvent*) {
    if (!modalWindowsOpen())
        pointerLeft();
}

void PopupEntry::pointerEntered() {
    if (!popup_)
        return;
    if (!cell_.placeholder)
        popup_->entryEntered(index_);
    if (cell_.kind != NodeKind::Separator)
        setHot(true);
    if (!isPlaceholder())
        popup_->armHoverTimer(cell_.kind == NodeKind::Folder ? kFolderDelay : kOtherDelay, index_);
}

void PopupEntry::pointerLeft() {
    if (!popup_)
        return;
    popup_->context().preview.hide();
    const FolderPopup* submenu = popup_->submenu();
    if (submenu && submenu->isVisible())
        return; // the folder whose submenu is open stays highlighted
    setHot(false);
}

void PopupEntry::mousePressEvent(QMouseEvent* event) {
    if (modalWindowsOpen() || !popup_)
        return;
    popup_->context().preview.hide();
    popup_->context().drag.press(event->globalPosition().toPoint());
}

void PopupEntry::mouseReleaseEvent(QMouseEvent* event) {
    if (!popup_)
        return;
    popup_->context().drag.release();
    if (modalWindowsOpen())
        return;
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        click();
}

namespace {
const QString kEntryMime = QStringLiteral("application/x-jolvex-entry");
constexpr int kDragThreshold = 5;
} // namespace

void PopupEntry::mouseMoveEvent(QMouseEvent* event) {
    if (!popup_ || modalWindowsOpen())
        return;
    const DragSession& drag = popup_->context().drag;
    const bool draggable = cell_.kind == NodeKind::Text || cell_.kind == NodeKind::Folder ||
                           cell_.kind == NodeKind::Image;
    // The left button alone, on a snippet, folder or picture, moved more than the threshold.
    if (!draggable || isPlaceholder() || !drag.isPressed() || drag.isDragging() ||
        event->buttons() != Qt::LeftButton || event->modifiers() != Qt::NoModifier)
        return;
    const QPoint moved = event->globalPosition().toPoint() - drag.pressPoint();
    if (std::abs(moved.x()) > kDragThreshold || std::abs(moved.y()) > kDragThreshold)
        startDrag();
}

void PopupEntry::startDrag() {
    // The session and the first-level popup outlive the drag; this entry may not: a drop
    // refills or hides popups while exec() runs.
    DragSession& drag = popup_->context().drag;
    PreviewWindow& preview = popup_->context().preview;
    FolderPopup* owner = popup_->topLevelPopup();
    drag.start(cell_.path);
    owner->watchDrag();
    auto* mime = new QMimeData;
    mime->setData(kEntryMime, cell_.path.toUtf8());
    auto* qdrag = new QDrag(owner);
    qdrag->setMimeData(mime);
    // The entry's picture rides on the pointer as the drag cursor (a thumbnail, or the start of
    // a row), not in a window of its own: the window under the pointer stays the one the
    // pointer is over, which the popups look at. Where a drop is refused the refused cursor
    // shows.
    const QPixmap picture = grab(QRect(0, 0, std::min(width(), 64), std::min(height(), 64)));
    qdrag->setDragCursor(picture, Qt::MoveAction);
    const QPointer<QDrag> guard(qdrag);
    qdrag->exec(Qt::MoveAction);
    if (guard)
        guard->deleteLater();
    drag.release();
    drag.finish();
    // A preview shown while the drag rested on an entry ends with the drag, whatever it ended
    // in.
    preview.hide();
}

bool PopupEntry::takesDrop() const {
    if (!popup_)
        return false;
    return acceptsDrop(popup_->context().drag.sourcePath(), popup_->node(), currentNode());
}

void PopupEntry::dragEnterEvent(QDragEnterEvent* event) {
    if (!event->mimeData()->hasFormat(kEntryMime) || !popup_) {
        event->ignore();
        return;
    }
    // Turns hot and arms the hover timer, so that resting on a folder opens its submenu and
    // lets the drop go deeper. Accepted here so that the leave arrives; the move decides.
    pointerEntered();
    event->accept();
}

void PopupEntry::dragMoveEvent(QDragMoveEvent* event) {
    if (takesDrop())
        event->acceptProposedAction();
    else
        event->ignore(); // the refused cursor
}

void PopupEntry::dragLeaveEvent(QDragLeaveEvent*) {
    pointerLeft();
}

void PopupEntry::dropEvent(QDropEvent* event) {
    if (!takesDrop()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    popup_->dropOn(currentNode());
}

void PopupEntry::click() {
    if (!popup_)
        return;
    const PopupContext& context = popup_->context();
    context.preview.hide();
    if (context.drag.isDragging() || isPlaceholder() || cell_.kind == NodeKind::Separator)
        return;
    if (cell_.kind == NodeKind::Folder) {
        popup_->openSubmenuSoon(index_);
        return;
    }
    // Hiding the first-level popup discards the submenus and their entries, possibly this one,
    // and what the owner does next may run a nested event loop: take what it needs first and
    // touch nothing of this entry afterwards.
    const QString path = cell_.path;
    const NodeKind kind = cell_.kind;
    const int index = index_;
    FolderPopup* top = popup_->topLevelPopup();
    top->hide();
    emit top->activated(path, kind, index);
}
