#include "ui/IconList.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

namespace {
// Straight edges are filled rectangles on whole logical pixels: they grow with the screen's
// ratio and stay sharp without antialiasing.
void drawPage(QPainter& painter) {
    painter.fillRect(2, 0, 12, 16, QColor(0x60, 0x60, 0x60));
    painter.fillRect(3, 1, 10, 14, Qt::white);
    for (int y = 3; y <= 12; y += 3)
        painter.fillRect(4, y, 8, 1, QColor(0x20, 0x50, 0xC0));
}

void drawFolder(QPainter& painter) {
    const QColor edge(0xA0, 0x78, 0x10);
    const QColor body(0xF0, 0xC8, 0x40);
    painter.fillRect(1, 2, 7, 2, edge); // the tab
    painter.fillRect(2, 3, 5, 1, body);
    painter.fillRect(0, 4, 16, 11, edge);
    painter.fillRect(1, 5, 14, 9, body);
    painter.fillRect(1, 5, 14, 1, QColor(0xFF, 0xE8, 0x90)); // the light upper edge
}

// The diagonal shapes are smoothed where a logical pixel is more than one device pixel; at
// ratio 1 they keep their crisp pixels.
bool smoothDiagonals(QPainter& painter) {
    const bool smooth = painter.device()->devicePixelRatioF() > 1.0;
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    return smooth;
}

void drawCheck(QPainter& painter) {
    // Unsmoothed, a stroke lands half a pixel right of and below its line; smoothed, it is
    // moved there so that the mark sits where it sits at ratio 1.
    if (smoothDiagonals(painter))
        painter.translate(0.5, 0.5);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(3, 8, 6, 11);
    painter.drawLine(6, 11, 12, 4);
}

void drawArrow(QPainter& painter) {
    smoothDiagonals(painter);
    QPainterPath path;
    path.moveTo(6, 4);
    path.lineTo(10, 8);
    path.lineTo(6, 12);
    path.closeSubpath();
    painter.fillPath(path, Qt::black);
}
} // namespace

void drawListIcon(QPainter& painter, int index, QPoint at) {
    void (*draw)(QPainter&) = nullptr;
    switch (index) {
    case 4:
        draw = drawPage;
        break;
    case 6:
        draw = drawFolder;
        break;
    case 8:
        draw = drawCheck;
        break;
    case 9:
        draw = drawArrow;
        break;
    default:
        return;
    }
    painter.save();
    painter.translate(at);
    draw(painter);
    painter.restore();
}

QColor mixColours(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                            a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}
