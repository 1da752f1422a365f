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
    ~XSession();

    bool Ready() const { return ready_; }
    QString Display() const { return display_; }
    QProcessEnvironment Environment() const;

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
    bool PressKey(const QString& window, const QString& key) const;
    // The key codes the server holds down now; empty between tests.
    QList<int> KeysHeldDown() const;

    void Click(const QPoint& at, int button = 1) const;
    // Presses the left button at `from`, moves in steps to `to`, releases.
    void Drag(const QPoint& from, const QPoint& to) const;
    // Saves a screenshot of the whole screen into `path`.
    bool Screenshot(const QString& path) const;

private:
    std::unique_ptr<QProcess> xvfb_;
    std::unique_ptr<QProcess> windowManager_;
    QString display_;
    bool ready_ = false;
};

// Waits while `condition` is false, handling events, up to `timeoutMs`.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);
