#include "popup/PreviewText.h"

#include "platform/FileSystem.h"

#include <QPainter>

namespace {
const QColor kPreviewBack(0xFF, 0xFF, 0xE1); // 0xE1FFFF as BGR
}

PreviewText::PreviewText(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kPreviewBack);
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
