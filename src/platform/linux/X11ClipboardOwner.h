#pragma once

#include <QByteArray>
#include <QImage>
#include <QSocketNotifier>

#include <functional>
#include <memory>
#include <vector>

typedef struct _XDisplay Display; // Xlib's, without its macros in every includer

// Owns the CLIPBOARD selection on a connection of its own and offers exactly a picture
// (image/png) and a file list (text/uri-list). Qt's clipboard would offer the file list as
// text too (text/plain, text/x-moz-url), which a text field pastes as a path. Large data goes
// out in pieces (the INCR protocol). Ownership ends when another client takes the clipboard.
class X11ClipboardOwner {
public:
    explicit X11ClipboardOwner(const char* displayName);
    ~X11ClipboardOwner();
    X11ClipboardOwner(const X11ClipboardOwner&) = delete;
    X11ClipboardOwner& operator=(const X11ClipboardOwner&) = delete;

    // False when the X server could not be reached.
    bool works() const { return display_ != nullptr; }
    // Takes the clipboard with this picture and file list; false when the server refused.
    bool own(const QImage& image, const QByteArray& uriList);
    // Called after a client was told which forms the current contents offer.
    void setOnTargetsRequested(std::function<void()> onRequested) {
        onTargetsRequested_ = std::move(onRequested);
    }

private:
    struct Transfer; // a piecewise answer under way
    void drain();
    void answer(const void* requestEvent);
    void continueTransfer(unsigned long window, unsigned long property);
    QByteArray dataFor(unsigned long target);

    Display* display_ = nullptr;
    unsigned long window_ = 0;
    unsigned long ownedSince_ = 0;
    bool owning_ = false;
    QImage image_;
    QByteArray png_; // made on the first request
    QByteArray uriList_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::vector<std::unique_ptr<Transfer>> transfers_;
    std::function<void()> onTargetsRequested_;
};
