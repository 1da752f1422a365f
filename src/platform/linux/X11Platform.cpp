// X11 backend of the platform layer (Qt's xcb plugin). Without an X display (the offscreen
// plugin of the widget tests) the program gets the platform made of Qt alone.

#include "platform/Platform.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QSet>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include "platform/Logging.h"
#include "platform/QtOnlyPlatform.h"
#include "platform/QtWindowing.h"
#include "platform/SettingsStore.h"
#include "platform/linux/DirectSave.h"
#include "platform/linux/PortalPasteShortcut.h"
#include "platform/linux/PressShield.h"
#include "platform/linux/RawButtonWatcher.h"
#include "platform/linux/X11ClipboardOwner.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

const char* const kTagProperty = "_JOLVEX_WINDOW_TAG";
const QString kUriList = QStringLiteral("text/uri-list");
const QString kRemoteDesktopToken = QStringLiteral("RemoteDesktopToken");

// The program runs through XWayland there: XTEST keys and X pointer events reach only the
// XWayland windows.
bool isWaylandSession() {
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qgetenv("XDG_SESSION_TYPE") == "wayland";
}

// The portal's permission, kept across starts where the portal can restore it.
RemoteDesktopPortal::TokenStore settingsTokenStore() {
    return {[] {
                const auto store = SettingsStore::open(false);
                return store ? store->readString(kRemoteDesktopToken).value_or(QString())
                             : QString();
            },
            [](const QString& token) {
                if (const auto store = SettingsStore::open(true)) {
                    store->writeString(kRemoteDesktopToken, token);
                    store->close();
                }
            }};
}

// Puts the tag back whenever Qt makes a new native window for the widget.
class TagKeeper : public QObject {
public:
    TagKeeper(QObject* parent, std::function<void()> apply)
        : QObject(parent), apply_(std::move(apply)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::WinIdChange || event->type() == QEvent::Show)
            apply_();
        return false;
    }

private:
    std::function<void()> apply_;
};

class X11Platform : public Platform {
public:
    X11Platform(Display* display, xcb_connection_t* connection)
        : display_(display), connection_(connection),
          tagAtom_(XInternAtom(display, kTagProperty, False)),
          poller_([this] { return leftOrRightButtonDown(); }) {
        if (isWaylandSession()) {
            portalPaste_ = std::make_unique<PortalPasteShortcut>(
                XInternAtom(display_, "CLIPBOARD", False), XInternAtom(display_, "TARGETS", False),
                settingsTokenStore());
            portalPaste_->prepare();
            shield_ = std::make_unique<PressShield>(display_);
        }
    }

    ~X11Platform() override { restoreBorrowedKey(); }

    void makeNonActivatingWindow(QWidget* window, WindowRole role) override {
        applyNonActivatingFlags(window, role);
    }

    void raiseTopmost(QWidget* window) override {
        if (window->isVisible())
            window->raise();
    }

    void setWindowTag(QWidget* window, std::uint32_t tag) override {
        storeTagProperty(window, tag);
        auto apply = [this, window, tag] { writeTag(window, tag); };
        window->installEventFilter(new TagKeeper(window, apply));
        apply();
    }

    std::uint32_t windowTagUnderCursor() override {
        // Under a window manager the root's child is the manager's frame: walk down the chain
        // of windows under the pointer until one carries a tag.
        std::uint32_t tag = 0;
        findUnderPointer([&](Window window) { return (tag = readTag(window)) != 0; });
        return tag;
    }

    bool pointerOverOwnWindow() override {
        QSet<Window> own;
        for (QWindow* window : QGuiApplication::allWindows())
            if (window->handle())
                own.insert(static_cast<Window>(window->winId()));
        return findUnderPointer([&](Window window) { return own.contains(window); });
    }

    bool leftOrRightButtonDown() override {
        Window root = 0;
        Window child = 0;
        int rootX = 0, rootY = 0, x = 0, y = 0;
        unsigned int mask = 0;
        XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &rootX, &rootY, &x, &y,
                      &mask);
        return mask & (Button1Mask | Button3Mask);
    }

    QPoint cursorPos() override { return QCursor::pos(); }

    void setCursorPos(const QPoint& position) override { QCursor::setPos(position); }

    void sendLeftClick() override {
        XTestFakeButtonEvent(display_, Button1, True, CurrentTime);
        XTestFakeButtonEvent(display_, Button1, False, CurrentTime);
        XFlush(display_);
    }

    void watchButtonPresses(std::function<void()> onPress) override {
        if (!watcher_ && !pollingPresses_) {
            watcher_ = std::make_unique<RawButtonWatcher>(DisplayString(display_));
            if (!watcher_->works()) {
                watcher_.reset();
                pollingPresses_ = true; // an X server without XInput2
            }
        }
        if (shield_)
            shield_->setRaised(static_cast<bool>(onPress));
        if (watcher_) {
            watcher_->setOnPress(onPress);
            watcher_->select(static_cast<bool>(onPress));
            return;
        }
        poller_.watch(std::move(onPress));
    }

    bool sendPasteShortcut() override {
        if (portalPaste_)
            return portalPaste_->send();
        const KeyCode control = XKeysymToKeycode(display_, XK_Control_L);
        KeyCode key = XKeysymToKeycode(display_, XK_v);
        if (key == 0)
            key = borrowKeyCode(XK_v); // a layout without the letter (Cyrillic, Greek, ...)
        if (control == 0 || key == 0) {
            qCWarning(lcX11)
                << "the keyboard has no key for Ctrl+V: the paste stays on the clipboard";
            return false;
        }
        XTestFakeKeyEvent(display_, control, True, CurrentTime);
        XTestFakeKeyEvent(display_, key, True, CurrentTime);
        XTestFakeKeyEvent(display_, key, False, CurrentTime);
        XTestFakeKeyEvent(display_, control, False, CurrentTime);
        XFlush(display_);
        return true;
    }

    void beep() override { QApplication::beep(); }

    bool offerDirectSave(const QString& path) override {
        return offerDirectSavePath(connection_, path);
    }

    void addFileListToMimeData(QMimeData* data, const QString& path) override {
        addUriList(data, path);
    }

    // Qt's clipboard would offer a file list also as text/plain and text/x-moz-url: data with a
    // file list is served by an owner of our own.
    void setClipboard(std::unique_ptr<QMimeData> data) override {
        if (data->hasFormat(kUriList)) {
            if (!clipboardOwner_) {
                clipboardOwner_ = std::make_unique<X11ClipboardOwner>(DisplayString(display_));
                if (portalPaste_)
                    clipboardOwner_->setOnTargetsRequested(
                        [this] { portalPaste_->targetsRequested(); });
            }
            if (!clipboardOwner_->works())
                qCWarning(lcX11)
                    << "no clipboard connection of our own: the file list goes out as text too";
            if (clipboardOwner_->works() &&
                clipboardOwner_->own(qvariant_cast<QImage>(data->imageData()),
                                     data->data(kUriList))) {
                if (portalPaste_)
                    portalPaste_->clipboardTaken();
                return;
            }
        }
        QGuiApplication::clipboard()->setMimeData(data.release());
        if (portalPaste_)
            portalPaste_->clipboardTaken();
    }

private:
    // Walks down the windows under the pointer, from the root's child to the deepest one, until
    // `found` says yes; false when none did.
    bool findUnderPointer(const std::function<bool(Window)>& found) {
        const Window rootWindow = DefaultRootWindow(display_);
        Window current = rootWindow;
        while (current != 0) {
            if (current != rootWindow && found(current))
                return true;
            Window root = 0;
            Window child = 0;
            int rootX = 0, rootY = 0, x = 0, y = 0;
            unsigned int mask = 0;
            if (!XQueryPointer(display_, current, &root, &child, &rootX, &rootY, &x, &y, &mask))
                return false;
            current = child;
        }
        return false;
    }

    // Maps `keysym` on a key code that carries no symbol, as input tools do, and gives the key
    // code back a little later: the receiving window translates the key with the mapping it
    // knows when the event reaches it. 0 when the keyboard has no free key code.
    KeyCode borrowKeyCode(KeySym keysym) {
        if (borrowedKey_ != 0) {
            restoreBorrowedKey();
        }
        int minCode = 0;
        int maxCode = 0;
        XDisplayKeycodes(display_, &minCode, &maxCode);
        int perCode = 0;
        KeySym* map = XGetKeyboardMapping(display_, static_cast<KeyCode>(minCode),
                                          maxCode - minCode + 1, &perCode);
        if (!map)
            return 0;
        KeyCode spare = 0;
        for (int code = maxCode; code >= minCode && spare == 0; --code) {
            bool empty = true;
            for (int level = 0; level < perCode && empty; ++level)
                empty = map[(code - minCode) * perCode + level] == NoSymbol;
            if (empty)
                spare = static_cast<KeyCode>(code);
        }
        XFree(map);
        if (spare == 0)
            return 0;
        KeySym symbols[2] = {keysym, keysym};
        XChangeKeyboardMapping(display_, spare, 2, symbols, 1);
        XSync(display_, False);
        borrowedKey_ = spare;
        QTimer::singleShot(1000, &timerContext_, [this] { restoreBorrowedKey(); });
        return spare;
    }

    void restoreBorrowedKey() {
        if (borrowedKey_ == 0)
            return;
        KeySym none[2] = {NoSymbol, NoSymbol};
        XChangeKeyboardMapping(display_, borrowedKey_, 2, none, 1);
        XFlush(display_);
        borrowedKey_ = 0;
    }

    void writeTag(QWidget* window, std::uint32_t tag) {
        if (!window->testAttribute(Qt::WA_WState_Created))
            return;
        const long value = static_cast<long>(tag);
        XChangeProperty(display_, static_cast<Window>(window->winId()), tagAtom_, XA_CARDINAL, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(&value), 1);
        XFlush(display_);
    }

    std::uint32_t readTag(Window window) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        std::uint32_t tag = 0;
        if (XGetWindowProperty(display_, window, tagAtom_, 0, 1, False, XA_CARDINAL, &type, &format,
                               &count, &after, &data) == Success &&
            data && format == 32 && count == 1)
            tag = static_cast<std::uint32_t>(*reinterpret_cast<long*>(data));
        if (data)
            XFree(data);
        return tag;
    }

    Display* display_;
    xcb_connection_t* connection_; // the same connection as Qt's, without Xlib's error handler
    Atom tagAtom_;
    std::unique_ptr<X11ClipboardOwner> clipboardOwner_;
    KeyCode borrowedKey_ = 0; // a key code mapped for a paste, given back shortly after
    QObject timerContext_;    // ends the timers of this object with it
    std::unique_ptr<RawButtonWatcher> watcher_;
    std::unique_ptr<PortalPasteShortcut> portalPaste_; // Wayland sessions only
    std::unique_ptr<PressShield> shield_;              // Wayland sessions only
    ButtonPressPoller poller_;                         // without XInput2
    bool pollingPresses_ = false;
};

} // namespace

void preparePlatformProcess() {
    // On a Wayland session the program runs through XWayland: it needs global pointer state,
    // window stacking and synthetic keys, which only X11 offers.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

void preparePlatformApplication() {
    // Qt does not map the Windows Song-style font names to an installed CJK font by itself.
    for (const char* song : {"新宋体", "宋体", "NSimSun", "SimSun"})
        QFont::insertSubstitutions(QString::fromUtf8(song), {QStringLiteral("Noto Serif CJK SC"),
                                                             QStringLiteral("Noto Sans CJK SC")});
}

std::unique_ptr<Platform> createNativePlatform() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 && x11->display())
        return std::make_unique<X11Platform>(x11->display(), x11->connection());
    return std::make_unique<QtOnlyPlatform>();
}
