#pragma once

#include <QString>

#include <exception>
#include <utility>

// Message box styles and answers, with their Windows values.
inline constexpr int MB_OK = 0x00;
inline constexpr int MB_YESNO = 0x04;
inline constexpr int MB_ICONERROR = 0x10;
inline constexpr int MB_ICONQUESTION = 0x20;
inline constexpr int IDOK = 1;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Every message the user sees goes through here: a modal box above the program's topmost
// windows; ModalDepth counts it while it is open. Returns the id of the button pressed.
int ShowMessageBox(const QString& text, const QString& caption, int flags);

// The report for an error that an event handler did not expect: shows it and lets the
// program run on.
void ShowErrorReport(const QString& message);

// Runs `handler`; an exception that leaves it is reported instead of crossing the event loop.
// Returns false when it was.
template <typename Handler> bool RunReportingErrors(Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const std::exception& error) {
        ShowErrorReport(QString::fromStdString(error.what()));
    } catch (...) {
        ShowErrorReport(QStringLiteral("未知错误。"));
    }
    return false;
}
