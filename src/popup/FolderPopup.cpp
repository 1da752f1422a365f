#include "popup/FolderPopup.h"

#include "base/FileRoutines.h"
#include "base/NameCompare.h"
#include "delivery/ThumbnailLoader.h"
#include "library/EntryDrop.h"
#include "library/FolderScan.h"
#include "library/Library.h"
#include "platform/Platform.h"
#include "popup/ColourPanel.h"
#include "popup/DragSession.h"
#include "popup/FolderLayout.h"
#include "popup/PopupContext.h"
#include "popup/PopupEntry.h"
#include "popup/PreviewWindow.h"
#include "popup/ScrollButton.h"
#include "ui/MessageBox.h"
#include "ui/ScreenMetrics.h"
#include "ui/Theme.h"

#include <QApplication>

namespace {
constexpr int kScrollButtonWidth = 28;
constexpr int kScrollButtonHeight = 14;
constexpr int kFirstScrollDelay = 150;
constexpr int kScrollDelay = 80;

} // namespace

FolderPopup::FolderPopup(const PopupContext& context, FolderPopup* parentPopup)
    : QWidget(parentPopup), context_(context), parentPopup_(parentPopup) {
    context_.platform.makeNonActivatingWindow(this, WindowRole::Popup);
    setWindowTitle(QStringLiteral("Jolvex menu")); // never shown; lets tools find the popups
    setFont(popupFont());
    resize(248, 359);

    auto* border = new ColourPanel(this, MenuBorderColor);
    border_ = border;
    dataPanel_ = new ColourPanel(border_, MenuBackColor, [this] {
        if (!modalWindowsOpen())
            dataPanelPressed();
    });
    topScroll_ = new ScrollButton(this, dataPanel_, ScrollDirection::Up);
    bottomScroll_ = new ScrollButton(this, dataPanel_, ScrollDirection::Down);
    for (QWidget* button : {topScroll_, bottomScroll_})
        button->setGeometry(0, 0, 0, kScrollButtonHeight);

    scrollTimer_.setSingleShot(false);
    connect(&scrollTimer_, &QTimer::timeout, this, &FolderPopup::scrollStep);
    hoverTimer_.setSingleShot(true);
    connect(&hoverTimer_, &QTimer::timeout, this, &FolderPopup::hoverTimeout);

    context_.platform.setWindowTag(this, context_.windowTag);

    dragWatch_.setInterval(50);
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

    // A thumbnail made in the background: the cells that show that picture paint again.
    connect(&context_.thumbnails, &ThumbnailLoader::ready, this,
            [this](const QString& path, const QImage& thumbnail) {
                for (PopupEntry* entry : entries_)
                    if (entry && entry->kind() == NodeKind::Image && entry->path() == path)
                        entry->setThumbnail(thumbnail);
            });
}

FolderPopup::~FolderPopup() {
    delete submenu_.data();
}

bool FolderPopup::pointerUnmovedSinceFill() const {
    return context_.platform.cursorPos() == pointerAtFill_;
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

ScrollButton* FolderPopup::scrollButton(ScrollDirection direction) const {
    return direction == ScrollDirection::Up ? topScroll_ : bottomScroll_;
}

void FolderPopup::discardEntries() {
    // An entry's own handler may be the caller (a drop, a click): it is released once that
    // handler has returned.
    for (PopupEntry* entry : entries_) {
        if (!entry)
            continue;
        entry->hide();
        entry->deleteLater();
    }
    entries_.clear();
    cells_.clear();
    scrollOffset_ = 0;
}

QRect FolderPopup::entryRect(int index) const {
    return cells_[static_cast<size_t>(index)].rect.translated(0, scrollOffset_);
}

bool FolderPopup::inView(int index) const {
    const QRect rect = entryRect(index);
    return rect.y() >= viewTop_ && rect.y() + rect.height() <= viewBottom_;
}

PopupEntry* FolderPopup::buildEntry(int index) {
    const PopupCell& cell = cells_[static_cast<size_t>(index)];
    auto* entry = new PopupEntry(*this, cell, index);
    if (showsPopupFont(cell.kind))
        entry->setFont(font());
    // Looked up as the cell comes into view; one still to be made arrives with ready().
    if (cell.kind == NodeKind::Image)
        entry->setThumbnail(context_.thumbnails.thumbnail(cell.path));
    entry->setParent(dataPanel_);
    entries_[static_cast<size_t>(index)] = entry;
    return entry;
}

void FolderPopup::placeEntries() {
    bool built = false;
    for (int i = 0; i < static_cast<int>(entries_.size()); ++i) {
        PopupEntry* entry = entries_[static_cast<size_t>(i)];
        const bool show = inView(i);
        if (!entry && !show)
            continue;
        if (!entry) {
            entry = buildEntry(i);
            built = true;
        }
        entry->setGeometry(entryRect(i));
        entry->setVisible(show);
    }
    // New entries would otherwise stack above the scroll buttons.
    if (built) {
        topScroll_->raise();
        bottomScroll_->raise();
    }
}

void FolderPopup::fill(int left, int top) {
    // A visible submenu shows nodes that the rescan below replaces.
    if (submenu_)
        submenu_->hide();
    if (node_ != context_.library.systemNode()) {
        node_->clearChildren();
        const QPointer<FolderPopup> self(this);
        // The report runs a nested event loop: whatever happens meanwhile, the popup goes on
        // with the nodes found, or stops when it is gone.
        runReportingErrors([this] { loadFolderItems(node_); });
        if (!self)
            return;
    }
    static_cast<ColourPanel*>(border_)->setColour(MenuBorderColor);
    static_cast<ColourPanel*>(dataPanel_)->setColour(MenuBackColor);
    discardEntries();
    pointerAtFill_ = context_.platform.cursorPos();

    const QRect screen = screenRect();
    const int screenBottom = screen.y() + screen.height(); // just below the screen
    const int available =
        node_->parent() == context_.library.root() ? screenBottom - top - 3 : screen.height() - 3;
    const QFontMetrics popupMetrics(font());
    const QFontMetrics barMetrics(barFont());
    FolderLayout layout = layOutFolder(
        *node_,
        [&](const QString& caption, NodeKind kind) {
            return (showsPopupFont(kind) ? popupMetrics : barMetrics).horizontalAdvance(caption);
        },
        MenuMaxWidth, available);
    const int clientWidth = layout.width;
    const int dataWidth = clientWidth - 2;
    const int count = static_cast<int>(layout.cells.size());
    cells_ = std::move(layout.cells);
    const int lastBottom = layout.visibleBottom;
    entries_.assign(cells_.size(), nullptr);
    viewTop_ = cells_.front().rect.y();
    viewBottom_ = lastBottom;
    placeEntries();

    const int screenRight = screen.x() + screen.width(); // just right of the screen
    const int clientHeight = lastBottom + 3;
    const int placedTop = top + clientHeight < screenBottom ? top : screenBottom - clientHeight;
    int placedLeft = screenRight - clientWidth;
    if (left + clientWidth < screenRight)
        placedLeft = left;
    else if (labelRight_ - clientWidth > screen.x())
        placedLeft = labelRight_ - clientWidth;
    setGeometry(placedLeft, placedTop, clientWidth, clientHeight);
    border_->setGeometry(0, 0, clientWidth, clientHeight);
    dataPanel_->setGeometry(1, 1, dataWidth, clientHeight - 2);

    const int buttonLeft = (clientWidth - kScrollButtonWidth) / 2;
    topScroll_->setGeometry(buttonLeft, cells_.front().rect.y() + 1, kScrollButtonWidth,
                            kScrollButtonHeight);
    topScroll_->hide();
    bottomScroll_->setGeometry(buttonLeft, clientHeight - kScrollButtonHeight - 4,
                               kScrollButtonWidth, kScrollButtonHeight);
    bottomScroll_->setVisible(!inView(count - 1));
    topScroll_->raise();
    bottomScroll_->raise();
}

void FolderPopup::refill() {
    fill(x(), y());
}

void FolderPopup::dataPanelPressed() {
    context_.preview.hide();
    if (submenu_)
        submenu_->hide();
}

void FolderPopup::entryEntered(int index) {
    context_.preview.hide();
    hoverTimer_.stop();
    if (index == selectedIndex_)
        return; // re-entering the entry whose submenu is open keeps that submenu
    if (submenu_)
        submenu_->hide();
    for (PopupEntry* entry : entries_)
        if (entry)
            entry->setHot(false);
}

void FolderPopup::armHoverTimer(int delayMs, int index) {
    context_.preview.hide();
    hoverTimer_.stop();
    // After a drag the window system enters the entry under the pointer again, even when the
    // drop has just hidden its popup: a hidden popup arms nothing.
    if (!isVisible())
        return;
    if (index == selectedIndex_ && !context_.drag.isDragging() && submenuShown())
        return;
    if (submenu_)
        submenu_->hide();
    selectedIndex_ = index;
    hoverTimer_.start(delayMs);
}

void FolderPopup::openSubmenuSoon(int index) {
    context_.preview.hide();
    hoverTimer_.stop();
    if (!isVisible() || submenuShown())
        return;
    selectedIndex_ = index;
    hoverTimer_.start(1); // once the click's own events are through
}

bool FolderPopup::submenuShown() const {
    return submenu_ && submenu_->isVisible();
}

void FolderPopup::closeSubmenu() {
    hoverTimer_.stop();
    if (submenu_)
        submenu_->hide();
}

void FolderPopup::hoverTimeout() {
    hoverTimer_.stop();
    if (modalWindowsOpen())
        return;
    if (selectedIndex_ < 0 || selectedIndex_ >= static_cast<int>(entries_.size()))
        return;
    PopupEntry* entry = entries_[static_cast<size_t>(selectedIndex_)];
    if (!entry)
        return;
    const QPoint cursor = context_.platform.cursorPos();
    if (!entry->rect().contains(entry->mapFromGlobal(cursor)))
        return; // the pointer left before the delay ran out
    const QPoint below(cursor.x(), entry->mapToGlobal(QPoint(0, 0)).y() + entry->height());
    PreviewWindow& preview = context_.preview;
    switch (entry->kind()) {
    case NodeKind::Folder:
        openSubmenuFor(entry);
        break;
    case NodeKind::Text: {
        const QString path = entry->path();
        const QFont entryFont = entry->font();
        runReportingErrors([&] { preview.showText(entryFont, loadTextFile(path), below); });
        break;
    }
    case NodeKind::Image:
        preview.requestPicture(entry->path(), entry->caption(), below);
        break;
    default:
        break;
    }
}

void FolderPopup::dropOn(LibraryNode* target) {
    const QString dragged = context_.drag.sourcePath();
    QString error;
    switch (dropEntry(dragged, node_, target, &error)) {
    case DropResult::Reordered:
        refill(); // the entries go once the drop has returned
        break;
    case DropResult::Moved:
        context_.thumbnails.forget(dragged);
        topLevelPopup()->hide();
        break;
    case DropResult::Failed:
        // Told once the drag has ended: a message box inside the drop would nest in the drag.
        QMetaObject::invokeMethod(
            qApp,
            [dragged, error] {
                showMessageBox(
                    QStringLiteral("拖放 \"%1\" 时出现错误。\n%2").arg(nodeName(dragged), error),
                    MessageKind::Error);
            },
            Qt::QueuedConnection);
        refill();
        break;
    }
}

void FolderPopup::openSubmenuFor(PopupEntry* entry) {
    const QPoint origin = entry->mapToGlobal(QPoint(0, 0));
    if (!submenu_)
        submenu_ = new FolderPopup(context_, this);
    const QPointer<FolderPopup> self(this);
    const QPointer<FolderPopup> submenu(submenu_);
    submenu->setNode(node_->child(selectedIndex_));
    submenu->setLabelRight(0);
    submenu->fill(x(), origin.y() - 2);
    // Filling may have shown an error box, during which the popups may have closed.
    if (!self || !submenu || submenu != submenu_ || !isVisible())
        return;

    bool atRight = submenusOpenRight_;
    const int left = submenuLeft(x(), width(), submenu->width(), screenRect(), atRight);
    submenu->setSubmenusOpenRight(atRight);
    submenu->move(left, submenu->y());
    submenu->show();
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

void FolderPopup::scrollButtonEntered(ScrollDirection direction) {
    entryEntered(0);
    scrolling_ = direction;
    scrollButton(direction)->setLowered(true);
    scrollTimer_.start(kFirstScrollDelay);
}

void FolderPopup::scrollButtonLeft(ScrollDirection direction) {
    scrollButton(direction)->setLowered(false);
    scrollTimer_.stop();
    scrolling_ = ScrollDirection::None;
}

void FolderPopup::scrollStep() {
    if (cells_.empty()) {
        scrollTimer_.stop();
        return;
    }
    scrollTimer_.setInterval(kScrollDelay);
    viewTop_ = topScroll_->y() - 1;
    viewBottom_ = height() - 3;
    const int last = static_cast<int>(cells_.size()) - 1;
    // Each step moves the entries by the height of the next hidden one.
    if (scrolling_ == ScrollDirection::Up) { // entries move down
        int step = PopupRowHeight;
        for (int j = 0; j <= last && entryRect(j).y() < viewTop_; ++j)
            step = cells_[static_cast<size_t>(j)].rect.height();
        scrollOffset_ += step;
        placeEntries();
        if (!inView(last))
            bottomScroll_->show();
        if (inView(0)) {
            scrollTimer_.stop();
            topScroll_->hide();
        }
    } else if (scrolling_ == ScrollDirection::Down) { // entries move up
        int step = PopupRowHeight;
        for (int j = last; j >= 0 && entryRect(j).bottom() + 1 > viewBottom_; --j)
            step = cells_[static_cast<size_t>(j)].rect.height();
        scrollOffset_ -= step;
        placeEntries();
        if (entryRect(0).y() < viewTop_)
            topScroll_->show();
        if (inView(last)) {
            scrollTimer_.stop();
            bottomScroll_->hide();
        }
    }
    topScroll_->raise();
    bottomScroll_->raise();
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
    // The submenu's entries may be running the handler that hid us: release it later.
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
    hoverTimer_.stop();
    scrollTimer_.stop();
    context_.preview.hide();
    freeSubmenu();
    if (!parentPopup_)
        emit hidden();
}
