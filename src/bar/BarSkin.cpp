#include "bar/BarSkin.h"

#include <QMouseEvent>
#include <QPainter>

BarSkin::BarSkin(QWidget* parent)
    : QWidget(parent), left_(QStringLiteral(":/skin/bar_left.png")),
      middle_(QStringLiteral(":/skin/bar_middle.png")),
      right_(QStringLiteral(":/skin/bar_right.png")) {
    setCursor(Qt::SizeAllCursor);
    setFocusPolicy(Qt::NoFocus);
}

void BarSkin::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.drawPixmap(QRect(0, 0, CapWidth, h), left_);
    painter.drawPixmap(QRect(CapWidth, 0, std::max(0, w - 2 * CapWidth), h), middle_);
    painter.drawPixmap(QRect(w - CapWidth, 0, CapWidth, h), right_);
}

// The pointer positions come from the events: they are where the pointer was when the X server
// saw them, whereas a query now may already see a later one.
void BarSkin::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->globalPosition().toPoint());
}

void BarSkin::mouseMoveEvent(QMouseEvent* event) {
    emit dragged(event->globalPosition().toPoint());
}

void BarSkin::mouseReleaseEvent(QMouseEvent* event) {
    emit released(event->globalPosition().toPoint());
}

void BarSkin::enterEvent(QEnterEvent*) {
    emit entered();
}
