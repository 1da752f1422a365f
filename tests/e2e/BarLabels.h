#pragma once

#include "platform/Platform.h"

#include <QFont>
#include <QFontMetrics>
#include <QList>
#include <QRect>
#include <QStringList>

// Screen rectangles of the bar's labels for these captions, packed from x 7.
inline QList<QRect> LabelRects(const QRect& bar, const QStringList& captions) {
    preparePlatformApplication();
    QFont font(QStringLiteral("新宋体"));
    font.setPixelSize(12);
    const QFontMetrics metrics(font);
    QList<QRect> rects;
    int x = bar.x() + 7;
    for (const QString& caption : captions) {
        const int width = metrics.size(Qt::TextSingleLine, caption).width() + 10;
        rects << QRect(x, bar.y() + 4, width, 18);
        x += width;
    }
    return rects;
}
