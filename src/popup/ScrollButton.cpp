#include "popup/ScrollButton.h"

#include "popup/FolderPopup.h"
#include "ui/MessageBox.h"

#include <QDragEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

ScrollButton::ScrollButton(FolderPopup* popup, QWidget* parent, ScrollDirection direction)
    : QWidget(parent), popup_(popup), direction_(direction) {
    setFocusPolicy(Qt::NoFocus);
    setAcceptDrops(true);
}

void ScrollButton::setLowered(bool lowered) {
    lowered_ = lowered;
    update();
}

void ScrollButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, palette().color(QPalette::Button));
    // A one-pixel raised or lowered bevel.
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    painter.setPen(lowered_ ? dark : light);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(lowered_ ? light : dark);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    // A 9x6 navy triangle in the middle.
    const QPointF centre = QRectF(r).center();
    QPainterPath triangle;
    if (direction_ == ScrollDirection::Up) {
        triangle.moveTo(centre.x() - 4.5, centre.y() + 3);
        triangle.lineTo(centre.x() + 4.5, centre.y() + 3);
        triangle.lineTo(centre.x(), centre.y() - 3);
    } else {
        triangle.moveTo(centre.x() - 4.5, centre.y() - 3);
        triangle.lineTo(centre.x() + 4.5, centre.y() - 3);
        triangle.lineTo(centre.x(), centre.y() + 3);
    }
    painter.fillPath(triangle, QColor(0, 0, 0x80));
}

void ScrollButton::enterEvent(QEnterEvent*) {
    if (!modalWindowsOpen())
        popup_->scrollButtonEntered(direction_);
}

void ScrollButton::leaveEvent(QEvent*) {
    popup_->scrollButtonLeft(direction_);
}

// The buttons act on the resting pointer only; a press must not reach the panel below, which
// would close the preview and the open submenu.
void ScrollButton::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void ScrollButton::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void ScrollButton::dragEnterEvent(QDragEnterEvent* event) {
    event->accept(); // so that the leave arrives
    popup_->scrollButtonEntered(direction_);
}

void ScrollButton::dragMoveEvent(QDragMoveEvent* event) {
    event->ignore();
}

void ScrollButton::dragLeaveEvent(QDragLeaveEvent*) {
    popup_->scrollButtonLeft(direction_);
}
