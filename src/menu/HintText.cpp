#include "menu/HintText.h"

#include "platform/FileSystem.h"

#include <QPainter>

namespace {
const QColor kHintBack(0xFF, 0xFF, 0xE1); // 0xE1FFFF as BGR
}

HintText::HintText(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kHintBack);
    setPalette(colours);
}

void HintText::SetCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void HintText::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(Qt::black);
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     ToNativeLineBreaks(caption_));
}
