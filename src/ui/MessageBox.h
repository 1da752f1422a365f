#pragma once

#include "ui/ErrorText.h"

#include <QString>

#include <exception>
#include <utility>

inline constexpr auto MessageCaption = "Jolvex";

enum class MessageKind {
    Plain,    // an OK button and no icon
    Error,    // an OK button and the error icon
    Question, // Yes and No buttons and the question icon
};

enum class MessageAnswer { Ok, Yes, No };

// Every message the user sees goes through here: a modal box above the program's topmost
// windows. Like every modal window it runs a nested event loop: see docs/ARCHITECTURE.md.
MessageAnswer showMessageBox(const QString& text, MessageKind kind,
                             const QString& caption = QString::fromUtf8(MessageCaption));

// Whether one of the program's modal windows (a message box, a dialog) is open. While one is,
// the popups take no pointer input and no press counts as outside the program's windows.
bool modalWindowsOpen();

// The report for an error that an event handler did not expect: shows it and lets the
// program run on.
void showErrorReport(const QString& message);

// Runs `handler`; an exception that leaves it is reported instead of crossing the event loop.
// Returns false when it was.
template <typename Handler> bool runReportingErrors(Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const std::exception& error) {
        showErrorReport(errorText(error));
    } catch (...) {
        showErrorReport(QStringLiteral("未知错误。"));
    }
    return false;
}
