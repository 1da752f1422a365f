#pragma once

#include <QObject>
#include <QRegion>

typedef struct _XDisplay Display; // Xlib's, without its macros in every includer

// On a Wayland session an X client sees no press on a native Wayland window, not even
// through XInput2 raw events. While the popups are open, this transparent window covers the
// screen except the program's own windows, so that a press anywhere else lands on an X window
// and the raw press watch sees it. Like the compositor's own menus, the press that closes the
// popups goes no further. The window never takes the keyboard focus.
class PressShield : public QObject {
public:
    explicit PressShield(Display* display);
    ~PressShield() override;
    PressShield(const PressShield&) = delete;
    PressShield& operator=(const PressShield&) = delete;

    void setRaised(bool raised);
    bool isRaised() const { return raised_; }

protected:
    // Follows the program's windows as they show, move and hide, to keep them uncovered.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void create();
    void updateInputShape();
    QRegion ownWindowsRegion() const;

    Display* display_;
    unsigned long window_ = 0;
    unsigned long colormap_ = 0;
    bool raised_ = false;
    bool shapePending_ = false;
};
