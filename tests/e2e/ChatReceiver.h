#pragma once

#include "XSession.h"

#include <QProcess>
#include <QStringList>

#include <memory>

// The stand-in for a chat window: a separate program with a text field that holds the keyboard
// focus and reports on its standard output what happens to it (focus lost, what was pasted).
class ChatReceiver {
public:
    explicit ChatReceiver(const XSession& session);
    ~ChatReceiver();

    // Starts the program, waits for its window and gives it the keyboard focus.
    bool Start();
    // The X window; empty on a Wayland session, where the window is a native one.
    QString Window() const { return window_; }
    bool HasFocus();
    // Every line the program reported so far.
    QStringList Reports();
    // Waits for a report that starts with `prefix`; returns it, or empty.
    QString WaitForReport(const QString& prefix, int timeoutMs = 5000);

private:
    const XSession& session_;
    std::unique_ptr<QProcess> process_;
    QString window_;
    QStringList reports_;
};
