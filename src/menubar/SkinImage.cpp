#include "menubar/SkinImage.h"

#include "menubar/UnitMenuBar.h"

#include <QMouseEvent>
#include <QPainter>

SkinImage::SkinImage(TFmMenuBar* bar, QWidget* panel, const QString& resource)
    : QWidget(panel), bar_(bar), picture_(resource) {
    setCursor(Qt::SizeAllCursor);
    setFocusPolicy(Qt::NoFocus);
}

void SkinImage::paintEvent(QPaintEvent*) {
    QPainter(this).drawPixmap(rect(), picture_);
}

// The pointer positions come from the events: they are where the pointer was when the X server
// saw them, whereas a query now may already see a later one.
void SkinImage::mousePressEvent(QMouseEvent* event) {
    bar_->ImageMMouseDown(event->globalPosition().toPoint());
}

void SkinImage::mouseMoveEvent(QMouseEvent* event) {
    bar_->ImageMMouseMove(event->globalPosition().toPoint());
}

void SkinImage::mouseReleaseEvent(QMouseEvent* event) {
    // The last motion may have been merged into the release: follow the pointer to where it
    // was released first.
    bar_->ImageMMouseMove(event->globalPosition().toPoint());
    bar_->ImageMMouseUp();
}

void SkinImage::enterEvent(QEnterEvent*) {
    bar_->ImageMMouseEnter();
}
