#pragma once

#include <QPoint>

class QPainter;

// The shared list of 16x16 icons. Indices drawn: 4 snippet, 6 folder, 8 check mark, 9 arrow;
// an index outside the list draws nothing.
inline constexpr int IconSize = 16;
void drawListIcon(QPainter& painter, int index, QPoint at);
