#pragma once

// The windowing half of the platform layer: the only place that talks to the window system.
// One implementation per window system (linux/ for X11); its owner passes it to the windows.

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
    virtual void makeNonActivatingWindow(QWidget* window, WindowRole role) = 0;
    // Puts the window on top of the others without activating it.
    virtual void raiseTopmost(QWidget* window) = 0;
    // Stores `tag` on the native top-level window, kept across re-creations of the window.
    virtual void setWindowTag(QWidget* window, std::uint32_t tag) = 0;
    // The tag of the top-level window under the pointer, of any program; 0 when it has none.
    virtual std::uint32_t windowTagUnderCursor() = 0;
    // Whether the pointer is over any window of this program, tagged or not (a dragged
    // picture's window, the preview).
    virtual bool pointerOverOwnWindow() = 0;
    // Whether the left or the right mouse button is down anywhere on the screen.
    virtual bool leftOrRightButtonDown() = 0;
    virtual QPoint cursorPos() = 0;
    virtual void setCursorPos(const QPoint& position) = 0;
    // A synthetic press and release of the left button where the pointer is.
    virtual void sendLeftClick() = 0;
    // Calls `onPress` for every press of the left or right button anywhere on the screen,
    // including presses over other programs; an empty function stops watching.
    virtual void watchButtonPresses(std::function<void()> onPress) = 0;
    // Ctrl+V to the window that has the keyboard focus, as four synthetic key events. False
    // when the keys could not be sent (on a Wayland session: no permission from the desktop);
    // the clipboard is left as it is for the user to paste.
    virtual bool sendPasteShortcut() = 0;
    virtual void beep() = 0;
    // Asks the source of the drag now being dropped to save its file itself at `path`, where
    // it offers that (Firefox does, for a picture's own bytes); the source saves it when the
    // drop's data is then asked for "XdndDirectSave0". False when it offers no such save.
    virtual bool offerDirectSave(const QString& path) = 0;
    // Adds a one-file list naming `path` to clipboard data, in this platform's own form.
    virtual void addFileListToMimeData(QMimeData* data, const QString& path) = 0;
    // Puts the data on the clipboard. Data with a file list offers exactly its picture and the
    // file list: no text form of the path, which a text field would paste.
    virtual void setClipboard(std::unique_ptr<QMimeData> data) = 0;
};

// Runs before the application object exists: picks the window-system plugin and similar.
void preparePlatformProcess();
// Runs once the application object exists: font substitutes and similar.
void preparePlatformApplication();

// The platform for the application's window system, made by each backend once the application
// object exists. Whoever makes it owns it and passes it to the windows.
std::unique_ptr<Platform> createNativePlatform();
