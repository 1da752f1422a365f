#pragma once

#include <QColor>
#include <QPoint>

class QPainter;

// The small icons of the popups' rows, painted at the painter's device pixel ratio so that they
// stay sharp on high-resolution screens. Indices drawn: 4 snippet, 6 folder, 8 check mark,
// 9 submenu arrow; any other index draws nothing.
inline constexpr int IconSize = 16;
void drawListIcon(QPainter& painter, int index, QPoint at);

// The colour a share `t` (0 to 1) of the way from `a` to `b`: the gradients of the bar and of
// the rows' gutter.
QColor mixColours(const QColor& a, const QColor& b, double t);
