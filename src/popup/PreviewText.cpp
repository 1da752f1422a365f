#include "popup/PreviewText.h"

#include "platform/FileSystem.h"

#include <QPainter>

PreviewText::PreviewText(QWidget* parent) : QWidget(parent) {}

void PreviewText::setText(const QString& text) {
    text_ = text;
    update();
}

void PreviewText::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(Qt::black);
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     toNativeLineBreaks(text_));
}
