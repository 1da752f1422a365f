#pragma once

#include <QAbstractNativeEventFilter>
#include <QByteArray>

#include <functional>

// Tells when a client has asked the program's clipboard which forms it offers (a TARGETS
// request for CLIPBOARD, answered by Qt's own clipboard window). Whoever bridges the X
// clipboard to the rest of the desktop (XWayland's compositor) asks this first after the
// owner changed: until then, a paste elsewhere still gets the previous contents.
class ClipboardTargetsWatch : public QAbstractNativeEventFilter {
public:
    ClipboardTargetsWatch(unsigned long clipboardAtom, unsigned long targetsAtom,
                          std::function<void()> onTargetsRequested);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    unsigned long clipboardAtom_;
    unsigned long targetsAtom_;
    std::function<void()> onTargetsRequested_;
};
