#include "platform/linux/ClipboardTargetsWatch.h"

#include <xcb/xcb.h>

ClipboardTargetsWatch::ClipboardTargetsWatch(unsigned long clipboardAtom, unsigned long targetsAtom,
                                             std::function<void()> onTargetsRequested)
    : clipboardAtom_(clipboardAtom), targetsAtom_(targetsAtom),
      onTargetsRequested_(std::move(onTargetsRequested)) {}

bool ClipboardTargetsWatch::nativeEventFilter(const QByteArray& eventType, void* message,
                                              qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_SELECTION_REQUEST)
        return false;
    const auto* request = static_cast<const xcb_selection_request_event_t*>(message);
    if (request->selection == clipboardAtom_ && request->target == targetsAtom_)
        onTargetsRequested_();
    return false; // Qt answers the request as usual
}
