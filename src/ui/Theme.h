#pragma once

// The look the bar and the popups share: colours, sizes, fonts and captions.

#include "base/Version.h"
#include "picture/ThumbnailGeometry.h"

#include <QColor>
#include <QFont>
#include <QString>

// The bar's title: the name and the version.
inline QString programTitle() {
    return QStringLiteral("Jolvex ") + QString::fromLatin1(ProgramVersion);
}

inline const QColor MenuBorderColor(0x4A, 0x8D, 0xD4);
inline const QColor MenuBackColor(0xF1, 0xF8, 0xFF);
inline const QColor ItemHotBrushColor(0xC7, 0xE0, 0xFE);    // a row under the pointer
inline const QColor ItemHotPenColor = MenuBorderColor;      // and its frame
inline const QColor ItemPenColor(0xC5, 0xC2, 0xB8);         // separators, thumbnail frames
inline const QColor PlaceholderTextColor(0xA0, 0xA0, 0xA0); // the "空" of an empty folder
inline const QColor PreviewBackColor(0xFF, 0xFF, 0xE1);

// The widest a popup grows: a full row of pictures and the popup's 2-pixel frame each side.
inline constexpr int MenuMaxWidth = 4 + PicturesPerRow * ThumbnailCellSide;
// The placeholder of an empty folder.
inline constexpr auto EmptyCaption = "空";

// The bar's labels, the commands and the placeholder: a Song-style CJK font of 12 pixels.
inline QFont barFont() {
    QFont font(QStringLiteral("新宋体"));
    font.setPixelSize(12);
    return font;
}

// The popups' entries for folders, snippets and pictures, and the preview.
inline QFont popupFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    return font;
}
