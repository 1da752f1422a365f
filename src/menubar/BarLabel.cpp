#include "menubar/BarLabel.h"

#include "app/UnitDef.h"
#include "menubar/UnitMenuBar.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
const QColor kHighlightFill(0x31, 0x6A, 0xC5);
}

BarLabel::BarLabel(TFmMenuBar* bar, QWidget* panel, const QString& caption, const QFont& font)
    : QWidget(panel), bar_(bar), caption_(caption) {
    setFont(font);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, false);
}

void BarLabel::SetHighlighted(bool highlighted) {
    if (highlighted_ == highlighted)
        return;
    highlighted_ = highlighted;
    update();
}

QSize BarLabel::CaptionSize() const {
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
    bar_->LabelMouseEnter(this);
}

void BarLabel::leaveEvent(QEvent*) {
    bar_->LabelMouseLeave(this);
}

void BarLabel::mousePressEvent(QMouseEvent* event) {
    bar_->LabelMouseDown(this, event->button());
}
