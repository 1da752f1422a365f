#include "popup/PreviewText.h"

#include "platform/FileSystem.h"
#include "ui/Theme.h"

#include <QPainter>

namespace {}

PreviewText::PreviewText(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, PreviewBackColor);
    setPalette(colours);
}

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
