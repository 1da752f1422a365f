#include "bar/BarLabel.h"

#include <QDragEnterEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
const QColor kHighlightFill(0x31, 0x6A, 0xC5);
}

BarLabel::BarLabel(QWidget* parent, const QString& caption, int nodeIndex)
    : QWidget(parent), caption_(caption), nodeIndex_(nodeIndex) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, false);
    setAcceptDrops(true);
}

void BarLabel::setHighlighted(bool highlighted) {
    if (highlighted_ == highlighted)
        return;
    highlighted_ = highlighted;
    update();
}

QSize BarLabel::captionSize() const {
    return fontMetrics().size(Qt::TextSingleLine | Qt::TextShowMnemonic, caption_);
}

void BarLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (highlighted_)
        painter.fillRect(rect(), kHighlightFill);
    painter.setFont(font());
    // The normal look writes in the bar font's colour, the window text colour.
    painter.setPen(highlighted_ ? QColor(Qt::white) : palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, caption_);
}

void BarLabel::enterEvent(QEnterEvent*) {
    emit entered();
}

void BarLabel::leaveEvent(QEvent*) {
    emit left();
}

void BarLabel::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button());
}

void BarLabel::dragEnterEvent(QDragEnterEvent* event) {
    emit dragEntered();
    event->ignore();
}
