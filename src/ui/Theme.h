#pragma once

// The look the bar and the popups share: colours, sizes, fonts and captions.

#include "picture/ThumbnailGeometry.h"

#include <QColor>
#include <QFont>

#include <cstdint>

inline constexpr auto ProgramTitle = "Jolvex 1.3";

// Colours given as 0x00BBGGRR values.
inline QColor colorFromBgr(std::uint32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}
inline constexpr std::uint32_t MenuBorderColor = 0xD48D4A;
inline constexpr std::uint32_t MenuBackColor = 0xFFF8F1;
inline constexpr std::uint32_t ItemHotBrushColor = 0xFEE0C7;
inline constexpr std::uint32_t ItemHotPenColor = 0xD48D4A;
inline constexpr std::uint32_t ItemPenColor = 0xB8C2C5;

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
