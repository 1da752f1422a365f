#pragma once

#include "platform/linux/ClipboardTargetsWatch.h"
#include "platform/linux/RemoteDesktopPortal.h"

#include <QObject>
#include <QTimer>

#include <memory>

// Ctrl+V on a Wayland session, through the RemoteDesktop portal. The compositor learns of a
// new X clipboard owner asynchronously: keys sent at once would paste the previous contents.
// They go out once the bridge has asked the new owner for its forms, or after a short bound.
class PortalPasteShortcut : public QObject {
public:
    PortalPasteShortcut(unsigned long clipboardAtom, unsigned long targetsAtom,
                        RemoteDesktopPortal::TokenStore tokens);
    ~PortalPasteShortcut() override;

    // Asks the user for the permission, so that the portal's dialog comes at the start and
    // not in the middle of a chat.
    void prepare() { portal_.ask(); }
    // Call right after the program took the clipboard.
    void clipboardTaken();
    // Call when a client asked the program's clipboard for its forms.
    void targetsRequested();
    // False when the keys cannot go out (no permission); then asks again if the session ended.
    bool send();

private:
    void sendPending();

    RemoteDesktopPortal portal_;
    ClipboardTargetsWatch targetsWatch_;
    QTimer bridgeWait_; // the bound on the wait for the compositor
    bool targetsSeen_ = true;
    bool pending_ = false;
};
