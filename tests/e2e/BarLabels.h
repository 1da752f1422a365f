#pragma once

#include "platform/Platform.h"

#include <QFont>
#include <QFontMetrics>
#include <QList>
#include <QRect>
#include <QStringList>

// Screen rectangles of the bar's labels for these captions, packed from x 7: each label is
// 10 pixels wider than its caption, measured as the label measures it (with mnemonics).
inline QList<QRect> LabelRects(const QRect& bar, const QStringList& captions) {
    preparePlatformApplication();
    QFont font(QStringLiteral("新宋体"));
    font.setPixelSize(12);
    const QFontMetrics metrics(font);
    QList<QRect> rects;
    int x = bar.x() + 7;
    for (const QString& caption : captions) {
        const int width =
            metrics.size(Qt::TextSingleLine | Qt::TextShowMnemonic, caption).width() + 10;
        rects << QRect(x, bar.y() + 4, width, 18);
        x += width;
    }
    return rects;
}

// The bar's width for these captions: the labels and a 7-pixel margin on either side.
inline int ExpectedBarWidth(const QStringList& captions) {
    const QList<QRect> rects = LabelRects(QRect(), captions);
    return (rects.isEmpty() ? 7 : rects.back().right() + 1) + 7;
}
