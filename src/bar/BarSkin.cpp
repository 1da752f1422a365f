#include "bar/BarSkin.h"

#include "ui/IconList.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kSkinRows = 26;

// The glossy light-blue band, row by row: two mid-blue rows on top, a gradient from near white
// to light blue over the upper half, flat light blue below, two darker blue rows at the bottom.
QColor bandColour(int row) {
    const QColor midBlue(0x7E, 0xB4, 0xEA), nearWhite(0xF4, 0xF9, 0xFF),
        lightBlue(0xC4, 0xDF, 0xFA), darkBlue(0x4A, 0x8D, 0xD4);
    if (row < 2)
        return midBlue;
    if (row < 13)
        return mixColours(nearWhite, lightBlue, (row - 2) / 10.0);
    if (row < 24)
        return lightBlue;
    return darkBlue;
}

// The caps: a dark edge column, and next to it the band half mixed with a deeper blue.
const QColor kEdgeColour(0x2F, 0x6F, 0xB8);
QColor capColour(int row) {
    const QColor band = QColor(bandColour(row).rgb()); // as the band shows: 8 bits a channel
    return mixColours(QColor(0x5E, 0x9C, 0xDC), band, 0.5);
}
} // namespace

BarSkin::BarSkin(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::SizeAllCursor);
    setFocusPolicy(Qt::NoFocus);
}

// Painted band by band in logical pixels, so that every ratio gets sharp edges and the same
// colours; a bar of another height stretches the bands.
void BarSkin::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int w = width();
    const int h = height();
    for (int row = 0; row < kSkinRows; ++row) {
        const int top = row * h / kSkinRows;
        const int bottom = (row + 1) * h / kSkinRows;
        if (bottom <= top)
            continue;
        painter.fillRect(QRect(0, top, w, bottom - top), bandColour(row));
        for (int x : {1, w - 2})
            painter.fillRect(QRect(x, top, 1, bottom - top), capColour(row));
    }
    for (int x : {0, w - 1})
        painter.fillRect(QRect(x, 0, 1, h), kEdgeColour);
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
