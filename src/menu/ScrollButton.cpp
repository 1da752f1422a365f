#include "menu/ScrollButton.h"

#include "menu/UnitMenu.h"

#include <QPainter>
#include <QPainterPath>

ScrollButton::ScrollButton(TFmMenu* menu, QWidget* parent, int direction)
    : QWidget(parent), menu_(menu), direction_(direction) {
    setFocusPolicy(Qt::NoFocus);
}

void ScrollButton::SetLowered(bool lowered) {
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
    if (direction_ == 1) {
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
    menu_->ScrollButtonEnter(direction_);
}

void ScrollButton::leaveEvent(QEvent*) {
    menu_->ScrollButtonLeave(direction_);
}
