#include "platform/linux/PressShield.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <vector>

namespace {
// Where the idle shield waits, far from any screen. (An empty input area will not do: the
// compositor takes "no input shape" for "the whole window".)
constexpr int kParked = -30000;
} // namespace

PressShield::PressShield(Display* display) : display_(display) {}

PressShield::~PressShield() {
    if (window_) {
        XDestroyWindow(display_, window_);
        XFreeColormap(display_, colormap_);
        XFlush(display_);
    }
}

void PressShield::create() {
    const Window root = DefaultRootWindow(display_);
    XVisualInfo visual;
    if (!XMatchVisualInfo(display_, DefaultScreen(display_), 32, TrueColor, &visual))
        return; // without an alpha visual the shield would be seen
    colormap_ = XCreateColormap(display_, root, visual.visual, AllocNone);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = 0; // fully transparent
    attributes.border_pixel = 0;
    attributes.colormap = colormap_;
    attributes.event_mask = ButtonPressMask | ButtonReleaseMask;
    window_ = XCreateWindow(
        display_, root, 0, 0, DisplayWidth(display_, DefaultScreen(display_)),
        DisplayHeight(display_, DefaultScreen(display_)), 0, 32, InputOutput, visual.visual,
        CWOverrideRedirect | CWBackPixel | CWBorderPixel | CWColormap | CWEventMask, &attributes);
    XWMHints hints{};
    hints.flags = InputHint;
    hints.input = False;
    XSetWMHints(display_, window_, &hints);
    XStoreName(display_, window_, "Jolvex shield");
}

void PressShield::setRaised(bool raised) {
    if (raised == raised_)
        return;
    if (raised && !window_) {
        create();
        if (!window_)
            return;
        // Mapped once and kept, off the screen while idle: a shield mapped afresh for each
        // popup was not yet in the compositor's hands when the first press came.
        XMoveWindow(display_, window_, kParked, kParked);
        XMapWindow(display_, window_);
    }
    if (!window_)
        return;
    raised_ = raised;
    if (raised) {
        qApp->installEventFilter(this);
        // The screen may have grown or shrunk since (a monitor plugged in).
        XMoveResizeWindow(display_, window_, 0, 0, DisplayWidth(display_, DefaultScreen(display_)),
                          DisplayHeight(display_, DefaultScreen(display_)));
        updateInputShape();
        XRaiseWindow(display_, window_);
    } else {
        qApp->removeEventFilter(this);
        XMoveWindow(display_, window_, kParked, kParked);
    }
    XFlush(display_);
}

bool PressShield::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
        if (watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow() &&
            !shapePending_) {
            // One update after the burst of events that a popup's opening sends.
            shapePending_ = true;
            QTimer::singleShot(0, this, [this] {
                shapePending_ = false;
                if (raised_)
                    updateInputShape();
            });
        }
        break;
    default:
        break;
    }
    return false;
}

QRegion PressShield::ownWindowsRegion() const {
    QRegion own;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        const qreal ratio = window->devicePixelRatioF();
        const QRect frame = window->frameGeometry();
        own += QRect((QPointF(frame.topLeft()) * ratio).toPoint(),
                     (QSizeF(frame.size()) * ratio).toSize());
    }
    return own;
}

void PressShield::updateInputShape() {
    const QRegion covered = QRegion(0, 0, DisplayWidth(display_, DefaultScreen(display_)),
                                    DisplayHeight(display_, DefaultScreen(display_))) -
                            ownWindowsRegion();
    std::vector<XRectangle> rectangles;
    for (const QRect& rect : covered)
        rectangles.push_back(XRectangle{static_cast<short>(rect.x()), static_cast<short>(rect.y()),
                                        static_cast<unsigned short>(rect.width()),
                                        static_cast<unsigned short>(rect.height())});
    XShapeCombineRectangles(display_, window_, ShapeInput, 0, 0, rectangles.data(),
                            static_cast<int>(rectangles.size()), ShapeSet, Unsorted);
    XFlush(display_);
}
