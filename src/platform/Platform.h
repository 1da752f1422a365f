#pragma once

// The windowing half of the platform layer: the only place that talks to the window system.
// One implementation per window system (linux/ for X11); tests may install their own.

#include <QPoint>

#include <cstdint>
#include <functional>
#include <memory>

class QMimeData;
class QString;
class QWidget;

enum class WindowRole {
    Bar,   // the floating bar: managed by the window manager, kept above other windows
    Popup, // popups and the preview: placed exactly where asked, ignored by the manager
};

class Platform {
public:
    virtual ~Platform() = default;

    // Marks a top-level window so that it never takes the keyboard focus, has no taskbar
    // entry and stays above other windows. Call before the window is first shown.
    virtual void MakeNonActivatingWindow(QWidget* window, WindowRole role) = 0;
    // Puts the window on top of the others without activating it.
    virtual void RaiseTopmost(QWidget* window) = 0;
    // Stores `tag` on the native top-level window, kept across re-creations of the window.
    virtual void SetWindowTag(QWidget* window, std::uint32_t tag) = 0;
    // The tag of the top-level window under the pointer, of any program; 0 when it has none.
    virtual std::uint32_t WindowTagUnderCursor() = 0;
    // Whether the left or the right mouse button is down anywhere on the screen.
    virtual bool LeftOrRightButtonDown() = 0;
    virtual QPoint CursorPos() = 0;
    virtual void SetCursorPos(const QPoint& position) = 0;
    // Calls `onPress` for every press of the left or right button anywhere on the screen,
    // including presses over other programs; an empty function stops watching.
    virtual void WatchButtonPresses(std::function<void()> onPress) = 0;
    // Ctrl + `virtualKey` (a Windows virtual-key code, 0x41..0x5A for the letters) as four
    // synthetic key events to the window that has the keyboard focus.
    virtual void SendCtrlKey(int virtualKey) = 0;
    virtual void Beep() = 0;
    // New, empty clipboard data as this platform's clipboard needs it.
    virtual std::unique_ptr<QMimeData> NewClipboardData() = 0;
    // Adds a one-file list naming `path` to clipboard data, in this platform's own form.
    virtual void AddFileListToMimeData(QMimeData* data, const QString& path) = 0;
};

// Runs before the application object exists: picks the window-system plugin and similar.
void PreparePlatformProcess();
// Runs once the application object exists: font substitutes and similar.
void PreparePlatformApplication();

// The platform of this run, made on first use for the application's window system.
Platform& CurrentPlatform();
// Replaces the platform (tests); returns the previous one.
std::unique_ptr<Platform> ReplacePlatform(std::unique_ptr<Platform> platform);

// Made by each backend.
std::unique_ptr<Platform> CreateNativePlatform();
