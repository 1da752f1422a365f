#include "bar/FloatingBar.h"

#include "bar/BarLabel.h"
#include "bar/BarSkin.h"
#include "library/Library.h"
#include "platform/Platform.h"
#include "popup/FolderPopup.h"
#include "popup/PreviewWindow.h"
#include "ui/MessageBox.h"
#include "ui/ScreenMetrics.h"
#include "ui/Theme.h"

#include <QMoveEvent>
#include <QTimer>

namespace {
constexpr int kPanelHeight = 26;
constexpr int kDesignWidth = 425;
constexpr int kLabelMargin = 7;
constexpr int kDragDeadZone = 5;
constexpr int kSnapDistance = 16;
} // namespace

FloatingBar::FloatingBar(Platform& platform, Library& library, FolderPopup& popup,
                         PreviewWindow& preview, std::uint32_t windowTag, BarPlacement placement)
    : platform_(platform), library_(library), popup_(popup), preview_(preview),
      windowTag_(windowTag), placement_(placement) {
    setWindowTitle(programTitle());
    platform_.makeNonActivatingWindow(this, WindowRole::Bar);
    connect(&library_, &Library::topFoldersReloaded, this, &FloatingBar::rebuildLabels);
    setFont(barFont());
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);

    panel_ = new QWidget(this);
    panel_->setGeometry(0, 0, kDesignWidth, kPanelHeight);
    skin_ = new BarSkin(panel_);
    connect(skin_, &BarSkin::pressed, this, &FloatingBar::skinPressed);
    connect(skin_, &BarSkin::dragged, this, &FloatingBar::skinDragged);
    connect(skin_, &BarSkin::released, this, &FloatingBar::skinReleased);
    connect(skin_, &BarSkin::entered, this, &FloatingBar::skinEntered);
    layoutSkin();

    connect(&popup_, &FolderPopup::shown, this, [this] { setOutsideWatch(true); });
    connect(&popup_, &FolderPopup::hidden, this, &FloatingBar::popupHidden);

    platform_.setWindowTag(this, windowTag_);
    // Off the screen until the labels are built and the bar is placed.
    requestedPosition_ = QPoint(screenRect().x() + screenRect().width(), screenRect().y());
    setGeometry(QRect(requestedPosition_, panel_->size()));
}

FloatingBar::~FloatingBar() {
    if (outsideWatch_)
        platform_.watchButtonPresses({});
}

QList<BarLabel*> FloatingBar::labels() const {
    return panel_->findChildren<BarLabel*>(QString(), Qt::FindDirectChildrenOnly);
}

void FloatingBar::layoutSkin() {
    skin_->setGeometry(panel_->rect());
    skin_->lower();
}

void FloatingBar::rebuildLabels() {
    qDeleteAll(labels());

    const LibraryNode* root = library_.root();
    int x = kLabelMargin;
    for (int i = 0; i < root->childCount(); ++i) {
        auto* label = new BarLabel(panel_, root->child(i)->caption(), i);
        label->setFont(barFont());
        connect(label, &BarLabel::entered, this, [this, label] { labelEntered(label); });
        connect(label, &BarLabel::dragEntered, this, [this, label] { labelDragEntered(label); });
        connect(label, &BarLabel::left, this, [this, label] { labelLeft(label); });
        connect(label, &BarLabel::pressed, this,
                [this, label](Qt::MouseButton button) { labelPressed(label, button); });
        const QSize caption = label->captionSize();
        const int width = caption.width() + 10;
        const int height = std::max(caption.height(), 18);
        label->setGeometry(x, (panel_->height() - height) / 2, width, height);
        label->show();
        x += width;
        panel_->resize(label->x() + width + kLabelMargin, kPanelHeight);
    }
    layoutSkin();

    const QRect screen = screenRect();
    const int screenRight = screen.x() + screen.width();
    int& left = placement_.left;
    if (placement_.hasSavedPosition) {
        if (left + panel_->width() >= screenRight)
            left = screenRight - panel_->width();
        if (left < screen.x())
            left = screen.x();
    } else {
        left = screen.x() + (screen.width() - panel_->width()) / 2;
    }
    if (left < screen.x())
        left = screen.x();
    resize(panel_->size());
    moveBar(QPoint(left, placement_.top));
}

void FloatingBar::moveBar(QPoint position) {
    requestedPosition_ = position;
    placeReasserted_ = false;
    move(position);
}

void FloatingBar::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // Right after the window manager takes the bar into its frame, Qt may be told the frame's
    // place before the frame was moved (0,0 under openbox) and hear nothing more, since the
    // bar itself did not move. Drops from other programs are then mapped to the wrong place
    // and miss the labels. Asking once more for where the bar was put makes the window
    // manager confirm it. Once only: a window manager that keeps the bar elsewhere wins.
    if (skinDown_ || placeReasserted_ || pos() == requestedPosition_)
        return;
    placeReasserted_ = true;
    QTimer::singleShot(0, this, [this] {
        if (!skinDown_ && pos() != requestedPosition_)
            move(requestedPosition_);
    });
}

void FloatingBar::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    platform_.raiseTopmost(this);
}

void FloatingBar::setOutsideWatch(bool active) {
    if (active == outsideWatch_)
        return;
    outsideWatch_ = active;
    if (active)
        platform_.watchButtonPresses([this] { outsidePress(); });
    else
        platform_.watchButtonPresses({});
}

void FloatingBar::outsidePress() {
    // A press on one of the program's modal windows (an error box over the popups) is not
    // outside: the popups stay until the box has returned.
    if (modalWindowsOpen())
        return;
    if (platform_.windowTagUnderCursor() != windowTag_) {
        preview_.hide();
        popup_.hide();
        setOutsideWatch(false);
    }
    if (!popup_.isVisible())
        setOutsideWatch(false);
}

void FloatingBar::popupHidden() {
    setOutsideWatch(false);
    if (!popup_.node())
        return;
    // While the popup was open its bar label kept the highlight; it goes back to its normal
    // look unless the pointer is on it.
    const int index = popup_.node()->index();
    for (BarLabel* label : labels())
        if (label->nodeIndex() == index &&
            !label->rect().contains(label->mapFromGlobal(platform_.cursorPos())))
            label->setHighlighted(false);
}

void FloatingBar::skinPressed(QPoint cursor) {
    skinDown_ = true;
    pressCursor_ = cursor;
    pressPosition_ = requestedPosition_;
    popup_.hide();
}

void FloatingBar::skinDragged(QPoint cursor) {
    if (!skinDown_)
        return;
    if (std::abs(cursor.x() - pressCursor_.x()) > kDragDeadZone ||
        std::abs(cursor.y() - pressCursor_.y()) > kDragDeadZone)
        movedBefore_ = true;
    if (movedBefore_)
        moveBar(cursor - pressCursor_ + pressPosition_);
}

void FloatingBar::skinReleased(QPoint cursor) {
    // The last motion may have been merged into the release: follow the pointer to where it
    // was released first.
    skinDragged(cursor);
    skinDown_ = false;
    // The window manager confirms moves late; the position asked for last is the bar's.
    const QRect screen = screenRect();
    const int screenRight = screen.x() + screen.width();
    int left = requestedPosition_.x();
    int top = requestedPosition_.y();
    if (top < screen.y() + kSnapDistance)
        top = screen.y();
    if (left < screen.x())
        left = screen.x();
    if (left + width() >= screenRight)
        left = screenRight - width();
    moveBar(QPoint(left, top));
    placement_.left = left;
}

void FloatingBar::skinEntered() {
    platform_.raiseTopmost(this);
}

void FloatingBar::labelEntered(BarLabel* sender) {
    skinEntered();
    for (BarLabel* label : labels())
        if (label->isHighlighted())
            label->setHighlighted(false);
    sender->setHighlighted(true);
    if (popup_.isVisible()) {
        popup_.hide();
        openPopupFor(sender);
    }
}

void FloatingBar::labelDragEntered(BarLabel* sender) {
    labelEntered(sender);
    // A drag from another program finds no popup open: the label's opens, as it would for a
    // drag from a popup, so that the drop can go into that folder.
    if (!popup_.isVisible())
        openPopupFor(sender);
}

void FloatingBar::labelLeft(BarLabel* sender) {
    if (!popup_.isVisible())
        sender->setHighlighted(false);
}

void FloatingBar::labelPressed(BarLabel* sender, Qt::MouseButton button) {
    if (button != Qt::LeftButton)
        return;
    if (popup_.isVisible()) {
        popup_.hide();
        return;
    }
    openPopupFor(sender);
}

void FloatingBar::openPopupFor(BarLabel* label) {
    // From where the bar was put, not from where the window system last reported it: right
    // after the bar appears the report may still be on its way.
    const QPoint labelOrigin = requestedPosition_ + panel_->pos() + label->pos();
    popup_.setNode(library_.root()->child(label->nodeIndex()));
    popup_.setSubmenusOpenRight(true);
    popup_.setLabelRight(labelOrigin.x() + label->width());
    popup_.fill(labelOrigin.x(), requestedPosition_.y() + panel_->y() + panel_->height());
    popup_.show();
}
