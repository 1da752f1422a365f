#pragma once

#include "platform/Platform.h"
#include "platform/QtWindowing.h"

// The platform made of what Qt alone can tell: for a window system without a backend of its
// own, and for Qt's offscreen plugin (the widget tests). It sees only the program's own
// windows and presses, and cannot press keys: a paste stays on the clipboard.
class QtOnlyPlatform : public Platform {
public:
    QtOnlyPlatform();

    void makeNonActivatingWindow(QWidget* window, WindowRole role) override;
    void raiseTopmost(QWidget* window) override;
    void setWindowTag(QWidget* window, std::uint32_t tag) override;
    std::uint32_t windowTagUnderCursor() override;
    bool pointerOverOwnWindow() override;
    bool leftOrRightButtonDown() override;
    QPoint cursorPos() override;
    void setCursorPos(const QPoint& position) override;
    void sendLeftClick() override {}
    void watchButtonPresses(std::function<void()> onPress) override;
    bool sendPasteShortcut() override { return false; }
    void beep() override;
    bool offerDirectSave(const QString&) override { return false; }
    void addFileListToMimeData(QMimeData* data, const QString& path) override;
    void setClipboard(std::unique_ptr<QMimeData> data) override;

private:
    ButtonPressPoller poller_;
};
