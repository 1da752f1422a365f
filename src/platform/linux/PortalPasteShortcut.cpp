#include "platform/linux/PortalPasteShortcut.h"

#include <QCoreApplication>

namespace {
// The longest wait for the compositor's request before the keys go anyway.
constexpr int kBridgeWaitMs = 300;
// After the request the compositor still reads the answer and announces the new contents.
constexpr int kSettleMs = 20;
} // namespace

PortalPasteShortcut::PortalPasteShortcut(unsigned long clipboardAtom, unsigned long targetsAtom,
                                         RemoteDesktopPortal::TokenStore tokens)
    : portal_(std::move(tokens)),
      targetsWatch_(clipboardAtom, targetsAtom, [this] { targetsRequested(); }) {
    QCoreApplication::instance()->installNativeEventFilter(&targetsWatch_);
    bridgeWait_.setSingleShot(true);
    connect(&bridgeWait_, &QTimer::timeout, this, &PortalPasteShortcut::sendPending);
}

PortalPasteShortcut::~PortalPasteShortcut() {
    QCoreApplication::instance()->removeNativeEventFilter(&targetsWatch_);
}

void PortalPasteShortcut::clipboardTaken() {
    targetsSeen_ = false;
}

void PortalPasteShortcut::targetsRequested() {
    if (targetsSeen_)
        return;
    targetsSeen_ = true;
    if (pending_)
        bridgeWait_.start(kSettleMs);
}

bool PortalPasteShortcut::send() {
    if (portal_.state() != RemoteDesktopPortal::State::Started) {
        portal_.ask(); // only when the session ended: a refusal stands for this run
        return false;
    }
    pending_ = true;
    bridgeWait_.start(targetsSeen_ ? kSettleMs : kBridgeWaitMs);
    return true;
}

void PortalPasteShortcut::sendPending() {
    if (!pending_)
        return;
    pending_ = false;
    portal_.sendCtrlV();
}
