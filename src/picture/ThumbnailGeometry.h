#pragma once

// The size of a thumbnail and of the popup cell that shows one, defined once: the thumbnail
// maker, the `.thb` reader, the popups' layout and their widest width all follow from here.

// A thumbnail fits a square of this side (the `.thb` files beside the pictures hold this).
inline constexpr int ThumbnailSide = 40;
// The frame around a thumbnail in its popup cell, on each side.
inline constexpr int ThumbnailCellFrame = 2;
inline constexpr int ThumbnailCellSide = ThumbnailSide + 2 * ThumbnailCellFrame;
// The most pictures a popup shows side by side.
inline constexpr int PicturesPerRow = 10;
// On a high-resolution screen thumbnails are drawn at device size, up to three times this.
inline constexpr int LargestThumbnailSide = 3 * ThumbnailSide;
