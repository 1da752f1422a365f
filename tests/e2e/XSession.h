#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>

// A private X server (Xvfb, numbered by -displayfd so that parallel runs never collide) with a
// real window manager (openbox). Stops exactly the processes it started.
class XSession {
public:
    static constexpr int screenWidth = 1280;
    static constexpr int screenHeight = 800;

    XSession();
    virtual ~XSession();

    bool Ready() const { return ready_; }
    QString Display() const { return display_; }
    // The environment of the X clients started on this display.
    virtual QProcessEnvironment Environment() const;
    // A Wayland compositor whose XWayland serves the display (WaylandSession).
    virtual bool IsWayland() const { return false; }

    // Runs a command on this display and returns its standard output, trimmed.
    QString Run(const QString& program, const QStringList& arguments, int timeoutMs = 10000) const;
    // xdotool with the given arguments.
    QString XDo(const QStringList& arguments) const { return Run("xdotool", arguments); }

    // The visible windows whose title matches the regular expression.
    QStringList FindWindows(const QString& titlePattern) const;
    // Waits until exactly one visible window matches; empty after the timeout.
    QString WaitForWindow(const QString& titlePattern, int timeoutMs = 10000) const;
    bool WaitForNoWindow(const QString& titlePattern, int timeoutMs = 5000) const;
    QRect Geometry(const QString& window) const;
    QString FocusedWindow() const;

    // Presses and releases `key` (an xdotool key name) in `window` once it has the keyboard
    // focus, both through XTEST. (xdotool's --window would release the key with a synthetic
    // event that the server ignores: it keeps the key down and repeats it into whatever has the
    // focus next.)
    virtual bool PressKey(const QString& window, const QString& key) const;
    // The key codes the server holds down now; empty between tests.
    QList<int> KeysHeldDown() const;

    virtual void Click(const QPoint& at, int button = 1) const;
    // Presses the left button at `from`, moves in steps to `to`, releases.
    virtual void Drag(const QPoint& from, const QPoint& to) const;
    // Saves a screenshot of the whole screen into `path`.
    bool Screenshot(const QString& path) const;

protected:
    struct NoServer {};
    explicit XSession(NoServer) {} // for a session whose X server another process starts

    QString display_;
    bool ready_ = false;

private:
    std::unique_ptr<QProcess> xvfb_;
    std::unique_ptr<QProcess> windowManager_;
};

// Ends a process the harness started: asked to stop, then killed if it will not.
void StopProcess(QProcess* process);

// Waits while `condition` is false, handling events, up to `timeoutMs`.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);
