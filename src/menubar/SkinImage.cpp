#include "menubar/SkinImage.h"

#include "menubar/UnitMenuBar.h"

#include <QPainter>

SkinImage::SkinImage(TFmMenuBar* bar, QWidget* panel, const QString& resource)
    : QWidget(panel), bar_(bar), picture_(resource) {
    setCursor(Qt::SizeAllCursor);
    setFocusPolicy(Qt::NoFocus);
}

void SkinImage::paintEvent(QPaintEvent*) {
    QPainter(this).drawPixmap(rect(), picture_);
}

void SkinImage::mousePressEvent(QMouseEvent*) {
    bar_->ImageMMouseDown();
}

void SkinImage::mouseMoveEvent(QMouseEvent*) {
    bar_->ImageMMouseMove();
}

void SkinImage::mouseReleaseEvent(QMouseEvent*) {
    // X may deliver the release before the last motion has been handled: follow the pointer
    // to where it was released first.
    bar_->ImageMMouseMove();
    bar_->ImageMMouseUp();
}

void SkinImage::enterEvent(QEnterEvent*) {
    bar_->ImageMMouseEnter();
}
