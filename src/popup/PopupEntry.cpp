#include "popup/PopupEntry.h"

#include "delivery/Paste.h"
#include "delivery/ThumbnailCache.h"
#include "delivery/ThumbnailLoader.h"
#include "library/EntryDrop.h"
#include "library/LibraryNode.h"
#include "popup/DragSession.h"
#include "popup/FolderPopup.h"
#include "popup/PopupContext.h"
#include "popup/PreviewWindow.h"
#include "ui/IconList.h"
#include "ui/MessageBox.h"
#include "ui/PasteReport.h"
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

PopupEntry::PopupEntry(FolderPopup& popup, LibraryNode* node)
    : popup_(&popup), node_(node), kind_(node ? node->kind() : NodeKind::Command) {
    if (node) {
        caption_ = node->caption();
        path_ = node->path();
    }
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colorFromBgr(MenuBackColor));
    setPalette(colours);
    setGeometry(1, 1, 44, 22);
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::NoFocus);
    setFont(barFont());
    setAcceptDrops(true);
}

PopupEntry* PopupEntry::placeholder(FolderPopup& popup, const QString& caption, QColor colour) {
    auto* entry = new PopupEntry(popup, nullptr);
    entry->caption_ = caption;
    entry->textColour_ = colour;
    return entry;
}

void PopupEntry::setHot(bool hot) {
    if (hot_ == hot)
        return;
    hot_ = hot;
    update();
}

int PopupEntry::nodeIndex() const {
    return node_ ? node_->index() : 0;
}

void PopupEntry::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r = rect();
    const QColor pen = colorFromBgr(hot_ ? ItemHotPenColor : ItemPenColor);
    const QColor brush = colorFromBgr(hot_ ? ItemHotBrushColor : MenuBackColor);
    if (!hot_)
        painter.fillRect(r, brush);
    if (kind_ == NodeKind::Image) {
        drawThumbnail(painter, pen, brush);
        return;
    }
    if (hot_)
        frameRect(painter, r, pen, brush);
    else if (popup_)
        painter.drawPixmap(0, 0, popup_->context().gutter);
    const int icon = node_ && node_->isChecked() ? CheckMarkIcon : static_cast<int>(kind_);
    drawListIcon(painter, icon, QPoint(2, 3));
    if (kind_ == NodeKind::Folder)
        drawListIcon(painter, kArrowIcon, QPoint(r.right() + 1 - kArrowRoom, 3));
    drawCaption(painter, r);
}

void PopupEntry::drawCaption(QPainter& painter, QRect rect) {
    if (kind_ == NodeKind::Separator) {
        painter.setPen(colorFromBgr(ItemPenColor));
        const int y = rect.height() / 2;
        painter.drawLine(rect.left() + kTextLeft, y, rect.right() - 1, y);
        return;
    }
    rect.setLeft(rect.left() + kTextLeft);
    if (kind_ == NodeKind::Folder)
        rect.setRight(rect.right() - kArrowRoom);
    painter.setFont(font());
    painter.setPen(textColour_);
    const QString shown =
        fontMetrics().elidedText(caption_, Qt::ElideRight, rect.width(), Qt::TextShowMnemonic);
    painter.drawText(
        rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, shown);
}

void PopupEntry::drawThumbnail(QPainter& painter, const QColor& pen, const QColor& brush) {
    frameRect(painter, rect().adjusted(1, 1, -1, -1), pen, brush);
    if (!node_ || !popup_)
        return;
    const QImage thumbnail = popup_->context().thumbnails.thumbnail(path_);
    if (thumbnail.isNull())
        return;
    const QSize size = thumbnailSize(thumbnail.size());
    const QPoint at(2 + (40 - size.width()) / 2, 2 + (40 - size.height()) / 2);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(at, size), thumbnail);
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
    if (node_)
        popup_->entryEntered(nodeIndex());
    if (kind_ != NodeKind::Separator)
        setHot(true);
    if (!isPlaceholder())
        popup_->armHoverTimer(kind_ == NodeKind::Folder ? kFolderDelay : kOtherDelay, nodeIndex());
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
    const bool draggable =
        kind_ == NodeKind::Text || kind_ == NodeKind::Folder || kind_ == NodeKind::Image;
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
    drag.start(path_);
    owner->watchDrag();
    auto* mime = new QMimeData;
    mime->setData(kEntryMime, path_.toUtf8());
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
    return acceptsDrop(popup_->context().drag.sourcePath(), popup_->node(), node_);
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
    popup_->dropOn(node_);
}

void PopupEntry::click() {
    if (!popup_)
        return;
    const PopupContext& context = popup_->context();
    context.preview.hide();
    if (context.drag.isDragging() || isPlaceholder() || kind_ == NodeKind::Separator)
        return;
    if (kind_ == NodeKind::Folder) {
        popup_->armHoverTimer(-1, nodeIndex());
        return;
    }
    // Hiding the first-level popup discards the submenus and their entries, possibly this one,
    // and what follows may run a nested event loop: take what the action needs first and touch
    // nothing of this entry afterwards.
    const QString path = path_;
    const NodeKind kind = kind_;
    const LibraryNode* command = node_;
    Platform& platform = context.platform;
    const std::function<void(PasteResult)> report =
        context.pasteFinished ? context.pasteFinished : reportPasteResult;
    popup_->topLevelPopup()->hide();
    if (kind == NodeKind::Text) {
        runReportingErrors([&] { report(pasteText(platform, path)); });
    } else if (kind == NodeKind::Image) {
        report(pastePicture(platform, path));
    } else {
        command->trigger();
    }
}
