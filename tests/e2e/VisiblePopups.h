#pragma once

#include "XSession.h"

#include <QList>
#include <QRect>

#include <algorithm>

// The program's popups (and its right-click menu) on the screen, ordered left to right.
inline QList<QRect> VisiblePopups(const XSession& session) {
    QList<QRect> rects;
    for (const QString& window : session.FindWindows(QStringLiteral("^Jolvex menu$")))
        rects << session.Geometry(window);
    std::sort(rects.begin(), rects.end(),
              [](const QRect& a, const QRect& b) { return a.x() < b.x(); });
    return rects;
}
