#include "platform/linux/X11ClipboardOwner.h"

#include <QBuffer>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>

struct X11ClipboardOwner::Transfer {
    Window requestor = 0;
    Atom property = 0;
    Atom type = 0;
    QByteArray data;
    qsizetype sent = 0;
};

namespace {
Atom atom(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}
} // namespace

X11ClipboardOwner::X11ClipboardOwner(const char* displayName) {
    display_ = XOpenDisplay(displayName);
    if (!display_)
        return;
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    window_ = XCreateWindow(display_, DefaultRootWindow(display_), -10, -10, 1, 1, 0, 0, InputOnly,
                            CopyFromParent, CWEventMask, &attributes);
    notifier_ =
        std::make_unique<QSocketNotifier>(ConnectionNumber(display_), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { drain(); });
}

X11ClipboardOwner::~X11ClipboardOwner() {
    notifier_.reset();
    if (display_) {
        XDestroyWindow(display_, window_);
        XCloseDisplay(display_);
    }
}

bool X11ClipboardOwner::own(const QImage& image, const QByteArray& uriList) {
    if (!display_)
        return false;
    image_ = image;
    png_.clear();
    uriList_ = uriList;
    transfers_.clear();
    // The selection is taken at a server time, which a zero-length property change reports.
    const Atom stamp = atom(display_, "_JOLVEX_TIMESTAMP");
    XChangeProperty(display_, window_, stamp, XA_INTEGER, 32, PropModeAppend, nullptr, 0);
    XEvent event;
    XWindowEvent(display_, window_, PropertyChangeMask, &event);
    ownedSince_ = event.xproperty.time;
    const Atom clipboard = atom(display_, "CLIPBOARD");
    XSetSelectionOwner(display_, clipboard, window_, ownedSince_);
    owning_ = XGetSelectionOwner(display_, clipboard) == window_;
    XFlush(display_);
    drain();
    return owning_;
}

QByteArray X11ClipboardOwner::dataFor(unsigned long target) {
    if (target == atom(display_, "text/uri-list"))
        return uriList_;
    if (target == atom(display_, "image/png")) {
        if (png_.isEmpty()) {
            QBuffer buffer(&png_);
            buffer.open(QIODevice::WriteOnly);
            image_.save(&buffer, "PNG");
        }
        return png_;
    }
    return {};
}

void X11ClipboardOwner::drain() {
    while (XPending(display_)) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == SelectionClear) {
            owning_ = false; // another program has the clipboard now
            image_ = QImage();
            png_.clear();
            uriList_.clear();
        } else if (event.type == SelectionRequest) {
            answer(&event.xselectionrequest);
        } else if (event.type == PropertyNotify && event.xproperty.state == PropertyDelete) {
            continueTransfer(event.xproperty.window, event.xproperty.atom);
        }
    }
}

void X11ClipboardOwner::answer(const void* requestEvent) {
    const auto& request = *static_cast<const XSelectionRequestEvent*>(requestEvent);
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.display = display_;
    reply.requestor = request.requestor;
    reply.selection = request.selection;
    reply.target = request.target;
    reply.time = request.time;
    // Clients from before ICCCM name no property: the target's name serves.
    const Atom property = request.property != None ? request.property : request.target;
    reply.property = None;

    const Atom targets = atom(display_, "TARGETS");
    const Atom timestamp = atom(display_, "TIMESTAMP");
    const Atom png = atom(display_, "image/png");
    const Atom uriList = atom(display_, "text/uri-list");
    const bool current = owning_ && (request.time == CurrentTime || request.time >= ownedSince_);
    if (current && request.target == targets) {
        const Atom offered[] = {targets, timestamp, png, uriList};
        XChangeProperty(display_, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(offered), 4);
        reply.property = property;
    } else if (current && request.target == timestamp) {
        const long time = static_cast<long>(ownedSince_);
        XChangeProperty(display_, request.requestor, property, XA_INTEGER, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&time), 1);
        reply.property = property;
    } else if (current && (request.target == png || request.target == uriList)) {
        QByteArray data = dataFor(request.target);
        const long largest =
            std::max<long>(XExtendedMaxRequestSize(display_), XMaxRequestSize(display_)) * 4 - 1024;
        const qsizetype piece = std::min<qsizetype>(largest, 256 * 1024);
        if (data.size() <= piece) {
            XChangeProperty(display_, request.requestor, property, request.target, 8,
                            PropModeReplace,
                            reinterpret_cast<const unsigned char*>(data.constData()),
                            static_cast<int>(data.size()));
        } else {
            // Too large for one request: announce the size, then a piece each time the
            // requestor deletes the property.
            auto transfer = std::make_unique<Transfer>();
            transfer->requestor = request.requestor;
            transfer->property = property;
            transfer->type = request.target;
            transfer->data = std::move(data);
            XSelectInput(display_, request.requestor, PropertyChangeMask);
            const long size = static_cast<long>(transfer->data.size());
            XChangeProperty(display_, request.requestor, property, atom(display_, "INCR"), 32,
                            PropModeReplace, reinterpret_cast<const unsigned char*>(&size), 1);
            transfers_.push_back(std::move(transfer));
        }
        reply.property = property;
    }
    XSendEvent(display_, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
    XFlush(display_);
    if (current && request.target == targets && onTargetsRequested_)
        onTargetsRequested_();
}

void X11ClipboardOwner::continueTransfer(unsigned long window, unsigned long property) {
    const auto found = std::find_if(transfers_.begin(), transfers_.end(), [&](const auto& t) {
        return t->requestor == window && t->property == property;
    });
    if (found == transfers_.end())
        return;
    Transfer& transfer = **found;
    const qsizetype piece = std::min<qsizetype>(256 * 1024, transfer.data.size() - transfer.sent);
    XChangeProperty(
        display_, transfer.requestor, transfer.property, transfer.type, 8, PropModeReplace,
        reinterpret_cast<const unsigned char*>(transfer.data.constData() + transfer.sent),
        static_cast<int>(piece));
    transfer.sent += piece;
    if (piece == 0) { // the empty piece ends the transfer
        XSelectInput(display_, transfer.requestor, NoEventMask);
        transfers_.erase(found);
    }
    XFlush(display_);
}
