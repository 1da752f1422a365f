#include "popup/CellPainter.h"

#include "picture/ThumbnailGeometry.h"
#include "popup/PopupView.h"
#include "thumbnails/ThumbnailSize.h"
#include "ui/DevicePixels.h"
#include "ui/IconList.h"
#include "ui/Theme.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

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

// The 22x22 picture at the left of a row that is not hot: columns from white to light blue
// (170, 212, 255) from about column 12 on, every other row a shade lighter. Painted pixel by
// logical pixel, so that it keeps its look, sharp, at every ratio.
void paintGutter(QPainter& painter) {
    constexpr int kGutterSide = 22;
    const QColor blue(170, 212, 255);
    for (int x = 0; x < kGutterSide; ++x) {
        const QColor column = mixColours(Qt::white, blue, std::min(1.0, x / 12.0));
        const QColor lighter = mixColours(column, Qt::white, 0.04);
        for (int y = 0; y < kGutterSide; ++y)
            painter.fillRect(QRect(x, y, 1, 1), y % 2 ? lighter : column);
    }
}

// Where the thumbnail goes: `shown` logical pixels centred in the cell. A thumbnail made for
// this screen's ratio covers that rectangle pixel for pixel, so its corner is put on a whole
// device pixel and nothing is resampled.
QRectF thumbnailTarget(const QPainter& painter, const QImage& thumbnail) {
    const QSize shown = shownThumbnailSize(thumbnail);
    const QPointF at(ThumbnailCellFrame + (ThumbnailSide - shown.width()) / 2,
                     ThumbnailCellFrame + (ThumbnailSide - shown.height()) / 2);
    const qreal ratio = painter.device()->devicePixelRatioF();
    if (!coversPixelForPixel(thumbnail.size(), QSizeF(shown), ratio))
        return {at, QSizeF(shown)};
    return {snapToDevicePixel(painter, at), QSizeF(thumbnail.size()) / ratio};
}

void drawThumbnail(QPainter& painter, const QRect& rect, const QImage& thumbnail, const QColor& pen,
                   const QColor& brush) {
    frameRect(painter, rect.adjusted(1, 1, -1, -1), pen, brush);
    if (thumbnail.isNull())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(thumbnailTarget(painter, thumbnail), thumbnail);
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
    else
        paintGutter(painter);
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
