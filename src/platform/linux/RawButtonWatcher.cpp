#include "platform/linux/RawButtonWatcher.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

RawButtonWatcher::RawButtonWatcher(const char* displayName) {
    display_ = XOpenDisplay(displayName);
    if (!display_)
        return;
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 2; // from 2.1 on, raw events arrive also while another client grabs the pointer
    if (!XQueryExtension(display_, "XInputExtension", &opcode_, &event, &error) ||
        XIQueryVersion(display_, &major, &minor) != Success) {
        XCloseDisplay(display_);
        display_ = nullptr;
        return;
    }
    notifier_ =
        std::make_unique<QSocketNotifier>(ConnectionNumber(display_), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { drain(); });
}

RawButtonWatcher::~RawButtonWatcher() {
    notifier_.reset();
    if (display_)
        XCloseDisplay(display_);
}

void RawButtonWatcher::select(bool enabled) {
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    if (enabled)
        XISetMask(bits, XI_RawButtonPress);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(display_, DefaultRootWindow(display_), &mask, 1);
    XFlush(display_);
}

void RawButtonWatcher::drain() {
    while (XPending(display_)) {
        XEvent event;
        XNextEvent(display_, &event);
        XGenericEventCookie* cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != opcode_ ||
            !XGetEventData(display_, cookie))
            continue;
        int button = 0;
        if (cookie->evtype == XI_RawButtonPress)
            button = static_cast<XIRawEvent*>(cookie->data)->detail;
        XFreeEventData(display_, cookie);
        if ((button == Button1 || button == Button3) && onPress_)
            onPress_();
    }
}
