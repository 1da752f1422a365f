#pragma once

#include <cstdint>

class DragSession;
class Library;
class Platform;
class PreviewWindow;
class ThumbnailLoader;

// What every popup and entry works with. Made once by the program's owner, which keeps each
// part alive for as long as any popup exists.
struct PopupContext {
    Platform& platform;
    Library& library;
    ThumbnailLoader& thumbnails;
    PreviewWindow& preview;
    DragSession& drag;
    std::uint32_t windowTag; // marks the popups as the program's own windows
};
