#pragma once

#include "XSession.h"

#include <QTemporaryDir>

#include <memory>

class QDBusConnection;

// A headless GNOME Wayland session: a private session bus, mutter as the compositor with one
// virtual monitor, and the XWayland server mutter starts, which the X clients (the program,
// xdotool) use. Native Wayland clients get the same environment. Input goes in as a user's
// does, through the compositor's own remote-desktop interface: native windows see it too.
class WaylandSession : public XSession {
public:
    WaylandSession();
    ~WaylandSession() override;

    QProcessEnvironment Environment() const override;
    bool IsWayland() const override { return true; }

    // A key chord: every keysym pressed in order, then released in reverse.
    void Keys(const QList<quint32>& keysyms) const;
    // Presses `key` ("Tab", "Escape", "space", "ctrl+v", "alt+s") whatever has the focus.
    bool PressKey(const QString& window, const QString& key) const override;
    void MoveTo(const QPoint& at) const;
    void Click(const QPoint& at, int button = 1) const override;
    void Drag(const QPoint& from, const QPoint& to) const override;

    // The desktop portal's permission dialog (it takes the keyboard focus while open): turns
    // on "allow remote interaction" and shares, or cancels.
    void GrantPortalDialog() const;
    void DeclinePortalDialog() const;

private:
    bool StartCompositor();
    bool StartInput();
    void Call(const QString& method, const QList<QVariant>& arguments) const;
    void Button(bool pressed) const;

    QTemporaryDir runtime_; // XDG_RUNTIME_DIR: the bus, the Wayland socket, XWayland's cookie
    std::unique_ptr<QProcess> bus_;
    std::unique_ptr<QProcess> mutter_;
    QString connectionName_;
    QString inputSession_;
    QString xauthority_;
};
