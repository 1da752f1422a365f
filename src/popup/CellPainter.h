#pragma once

#include "popup/FolderLayout.h"

#include <QImage>

class QPainter;
class QPalette;
enum class ScrollDirection;

// How a cell is drawn besides what it shows.
struct CellLook {
    bool hot = false; // under the pointer, or the folder whose submenu is open
    QImage thumbnail; // a picture's thumbnail; null draws the empty frame
};

// The font a cell's caption is drawn in: the popup's for folders, snippets and pictures, the
// bar's for commands and the placeholder.
QFont cellFont(const PopupCell& cell);

// Draws `cell` into the rectangle (0, 0, size): a row with its gutter, icon, caption and
// submenu arrow, a separator line, or a picture's framed thumbnail. Thumbnails made at the
// painter's device pixel ratio are drawn pixel for pixel.
void paintCell(QPainter& painter, const PopupCell& cell, QSize size, const CellLook& look);

// One of the small arrow buttons that scroll a long popup: a one-pixel bevel, raised or
// lowered, around a navy triangle.
void paintScrollButton(QPainter& painter, const QRect& rect, ScrollDirection direction,
                       bool lowered, const QPalette& palette);
