#include "popup/CellPainter.h"

#include "picture/ThumbnailGeometry.h"
#include "popup/PopupView.h"
#include "thumbnails/ThumbnailCache.h"
#include "ui/IconList.h"
#include "ui/Theme.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

namespace {
constexpr int kTextLeft = 26;
constexpr int kArrowRoom = 16;
constexpr int kArrowIcon = 9;

// A 1-pixel frame in `pen` around a fill of `brush`, inside `rect`.
void frameRect(QPainter& painter, const QRect& rect, const QColor& pen, const QColor& brush) {
    painter.fillRect(rect, pen);
    painter.fillRect(rect.adjusted(1, 1, -1, -1), brush);
}

void drawCaption(QPainter& painter, const PopupCell& cell, QRect rect) {
    if (cell.kind == NodeKind::Separator) {
        painter.setPen(ItemPenColor);
        const int y = rect.height() / 2;
        painter.drawLine(rect.left() + kTextLeft, y, rect.right() - 1, y);
        return;
    }
    rect.setLeft(rect.left() + kTextLeft);
    if (cell.kind == NodeKind::Folder)
        rect.setRight(rect.right() - kArrowRoom);
    const QFont font = cellFont(cell);
    painter.setFont(font);
    painter.setPen(cell.placeholder ? PlaceholderTextColor : QColor(Qt::black));
    const QString shown = QFontMetrics(font).elidedText(cell.caption, Qt::ElideRight, rect.width(),
                                                        Qt::TextShowMnemonic);
    painter.drawText(
        rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, shown);
}

void drawThumbnail(QPainter& painter, const QRect& rect, const QImage& thumbnail,
                   const QColor& pen, const QColor& brush) {
    frameRect(painter, rect.adjusted(1, 1, -1, -1), pen, brush);
    if (thumbnail.isNull())
        return;
    const QSize size = thumbnailSize(thumbnail.size());
    const QPoint at(ThumbnailCellFrame + (ThumbnailSide - size.width()) / 2,
                    ThumbnailCellFrame + (ThumbnailSide - size.height()) / 2);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(at, size), thumbnail);
}
} // namespace

QFont cellFont(const PopupCell& cell) {
    return showsPopupFont(cell.kind) ? popupFont() : barFont();
}

void paintCell(QPainter& painter, const PopupCell& cell, QSize size, const CellLook& look) {
    const QRect r(QPoint(0, 0), size);
    const QColor pen = look.hot ? ItemHotPenColor : ItemPenColor;
    const QColor brush = look.hot ? ItemHotBrushColor : MenuBackColor;
    painter.fillRect(r, MenuBackColor);
    if (cell.kind == NodeKind::Image) {
        drawThumbnail(painter, r, look.thumbnail, pen, brush);
        return;
    }
    if (look.hot)
        frameRect(painter, r, pen, brush);
    else if (look.gutter)
        painter.drawPixmap(0, 0, *look.gutter);
    const int icon = cell.checked ? CheckMarkIcon : static_cast<int>(cell.kind);
    drawListIcon(painter, icon, QPoint(2, 3));
    if (cell.kind == NodeKind::Folder)
        drawListIcon(painter, kArrowIcon, QPoint(r.right() + 1 - kArrowRoom, 3));
    drawCaption(painter, cell, r);
}

void paintScrollButton(QPainter& painter, const QRect& r, ScrollDirection direction, bool lowered,
                       const QPalette& palette) {
    painter.fillRect(r, palette.color(QPalette::Button));
    const QColor light = palette.color(QPalette::Light);
    const QColor dark = palette.color(QPalette::Dark);
    painter.setPen(lowered ? dark : light);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(lowered ? light : dark);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    // A 9x6 triangle in the middle.
    const QPointF centre = QRectF(r).center();
    const double tip = direction == ScrollDirection::Up ? -3 : 3;
    QPainterPath triangle;
    triangle.moveTo(centre.x() - 4.5, centre.y() - tip);
    triangle.lineTo(centre.x() + 4.5, centre.y() - tip);
    triangle.lineTo(centre.x(), centre.y() + tip);
    painter.fillPath(triangle, QColor(0, 0, 0x80));
}
