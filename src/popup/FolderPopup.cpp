#include "popup/FolderPopup.h"

#include "base/FileRoutines.h"
#include "library/FolderScan.h"
#include "library/Library.h"
#include "platform/Platform.h"
#include "popup/DragSession.h"
#include "popup/FolderLayout.h"
#include "popup/PopupContext.h"
#include "popup/PopupView.h"
#include "popup/PreviewWindow.h"
#include "thumbnails/ThumbnailLoader.h"
#include "ui/MessageBox.h"
#include "ui/ScreenMetrics.h"
#include "ui/Theme.h"

#include <QPainter>

namespace {
constexpr int kDragWatchInterval = 50;
}

FolderPopup::FolderPopup(const PopupContext& context, FolderPopup* parentPopup)
    : QWidget(parentPopup), context_(context), parentPopup_(parentPopup) {
    context_.platform.makeNonActivatingWindow(this, WindowRole::Popup);
    setWindowTitle(QStringLiteral("Jolvex menu")); // never shown; lets tools find the popups
    setFont(popupFont());
    resize(248, 359);
    context_.platform.setWindowTag(this, context_.windowTag);

    // The first-level popup owns the drags: it outlives every submenu a drop may free.
    view_ = new PopupView(context_, this, topLevelPopup());
    view_->move(1, 1);
    connect(view_, &PopupView::hovered, this, &FolderPopup::closeSubmenu);
    connect(view_, &PopupView::rested, this, &FolderPopup::rest);
    connect(view_, &PopupView::activated, this, &FolderPopup::activate);
    connect(view_, &PopupView::emptySpacePressed, this, &FolderPopup::closeSubmenu);
    connect(view_, &PopupView::dragStarted, this, [this] { topLevelPopup()->watchDrag(); });
    connect(view_, &PopupView::menuRequested, this,
            [this](int index, QPoint at) { emit topLevelPopup()->menuRequested(this, index, at); });
    connect(view_, &PopupView::incomingDropRequested, this,
            [this](const DroppedData& data, int index) {
                emit topLevelPopup()->incomingDropRequested(this, data, index);
            });
    connect(view_, &PopupView::dropRequested, this, [this](const QString& source, int index) {
        emit topLevelPopup()->dropRequested(this, source, index);
    });

    dragWatch_.setInterval(kDragWatchInterval);
    connect(&dragWatch_, &QTimer::timeout, this, [this] {
        if (!context_.drag.isDragging()) {
            dragWatch_.stop();
            return;
        }
        if (isVisible() && !context_.platform.pointerOverOwnWindow()) {
            dragWatch_.stop();
            hide();
        }
    });
}

FolderPopup::~FolderPopup() {
    delete submenu_.data();
}

void FolderPopup::watchDrag() {
    // Looked at only while a drag lasts: no wake-ups otherwise.
    dragWatch_.start();
}

FolderPopup* FolderPopup::topLevelPopup() {
    FolderPopup* popup = this;
    while (popup->parentPopup_)
        popup = popup->parentPopup_;
    return popup;
}

void FolderPopup::fill(int left, int top) {
    // A visible submenu shows nodes that the rescan below replaces.
    closeSubmenu();
    Library& library = context_.library;
    if (node_ == library.recentNode()) {
        library.fillRecentNode();
    } else if (!node_->path().isEmpty()) { // the System menu and other command lists stay
        node_->clearChildren();
        const QPointer<FolderPopup> self(this);
        // The report runs a nested event loop: whatever happens meanwhile, the popup goes on
        // with the nodes found, or stops when it is gone.
        runReportingErrors([this] { loadFolderItems(node_); });
        if (!self)
            return;
    }
    const QRect screen = screenRect();
    const int screenBottom = screen.y() + screen.height(); // just below the screen
    const int available =
        node_->parent() == context_.library.root() ? screenBottom - top - 3 : screen.height() - 3;
    const QFontMetrics popupMetrics(popupFont());
    const QFontMetrics barMetrics(barFont());
    FolderLayout layout = layOutFolder(
        *node_,
        [&](const QString& caption, NodeKind kind) {
            return (showsPopupFont(kind) ? popupMetrics : barMetrics).horizontalAdvance(caption);
        },
        MenuMaxWidth, available);
    const QSize size(layout.width, layout.visibleBottom + 3);
    placeOnScreen(left, top, size);
    // The System menu and 最近使用 are no folder: nothing is dragged from or dropped on them.
    const QString folderPath = node_->path();
    view_->setCells(std::move(layout.cells), folderPath, size - QSize(2, 2));
}

void FolderPopup::placeOnScreen(int left, int top, QSize size) {
    const QRect screen = screenRect();
    const int screenBottom = screen.y() + screen.height();
    const int screenRight = screen.x() + screen.width();
    const int placedTop = top + size.height() < screenBottom ? top : screenBottom - size.height();
    int placedLeft = screenRight - size.width();
    if (left + size.width() < screenRight)
        placedLeft = left;
    else if (labelRight_ - size.width() > screen.x())
        placedLeft = labelRight_ - size.width();
    setGeometry(QRect(QPoint(placedLeft, placedTop), size));
}

void FolderPopup::refill() {
    fill(x(), y());
}

void FolderPopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), MenuBorderColor); // the frame around the view
}

void FolderPopup::closeSubmenu() {
    if (submenu_)
        submenu_->hide();
}

void FolderPopup::rest(int index) {
    const QRect cell = view_->cellRect(index);
    const QPoint below(context_.platform.cursorPos().x(),
                       view_->mapToGlobal(QPoint(0, cell.y() + cell.height())).y());
    const PopupCell& rested = view_->cell(index);
    PreviewWindow& preview = context_.preview;
    switch (rested.kind) {
    case NodeKind::Folder:
        openSubmenuFor(index);
        break;
    case NodeKind::Text: {
        const QString path = rested.path;
        runReportingErrors([&] { preview.showText(font(), loadTextFile(path), below); });
        break;
    }
    case NodeKind::Image:
        preview.requestPicture(rested.path, rested.caption, below);
        break;
    default:
        break;
    }
}

void FolderPopup::openSubmenuFor(int index) {
    if (index >= node_->childCount())
        return;
    const int cellTop = view_->mapToGlobal(view_->cellRect(index).topLeft()).y();
    if (!submenu_) {
        submenu_ = new FolderPopup(context_, this);
        connect(submenu_, &FolderPopup::hidden, view_, [this] { view_->setSubmenuOpen(false); });
    }
    const QPointer<FolderPopup> self(this);
    const QPointer<FolderPopup> submenu(submenu_);
    submenu->setNode(node_->child(index));
    submenu->setLabelRight(0);
    submenu->fill(x(), cellTop - 2);
    // Filling may have shown an error box, during which the popups may have closed.
    if (!self || !submenu || submenu != submenu_ || !isVisible())
        return;

    bool atRight = submenusOpenRight_;
    const int left = submenuLeft(x(), width(), submenu->width(), screenRect(), atRight);
    submenu->setSubmenusOpenRight(atRight);
    submenu->move(left, submenu->y());
    submenu->show();
    view_->setSubmenuOpen(true);
}

int FolderPopup::submenuLeft(int parentLeft, int parentWidth, int subWidth, const QRect& screen,
                             bool& atRight) {
    const int screenRight = screen.x() + screen.width();
    if (atRight) {
        const int left = parentLeft + parentWidth - 2;
        if (left + subWidth < screenRight)
            return left;
        atRight = false;
        return std::max(screen.x(), parentLeft - subWidth + 2);
    }
    const int left = parentLeft - subWidth + 2;
    if (left >= screen.x())
        return left;
    atRight = true;
    const int right = parentLeft + parentWidth - 2;
    return right + subWidth >= screenRight ? screenRight - subWidth : right;
}

void FolderPopup::activate(int index) {
    // Hiding the first-level popup frees the submenus, possibly this one, and what the owner
    // does next may run a nested event loop: take what is needed first and touch nothing of
    // this popup afterwards.
    const PopupCell& chosen = view_->cell(index);
    const QString path = chosen.path;
    const NodeKind kind = chosen.kind;
    FolderPopup* top = topLevelPopup();
    top->hide();
    emit top->activated(path, kind, index);
}

void FolderPopup::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    context_.platform.raiseTopmost(this);
    if (!parentPopup_)
        emit shown();
}

void FolderPopup::freeSubmenu() {
    if (!submenu_)
        return;
    // The submenu's view may be running the handler that hid us: release it later.
    FolderPopup* sub = submenu_;
    submenu_ = nullptr;
    sub->hide();
    sub->deleteLater();
}

void FolderPopup::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!parentPopup_)
        context_.thumbnails.cancelPending();
    dragWatch_.stop();
    context_.preview.hide();
    freeSubmenu();
    view_->setSubmenuOpen(false);
    emit hidden();
}
