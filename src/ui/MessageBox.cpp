#include "ui/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

MessageAnswer showMessageBox(const QString& text, MessageKind kind, const QString& caption) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if (kind == MessageKind::Error)
        icon = QMessageBox::Critical;
    else if (kind == MessageKind::Question)
        icon = QMessageBox::Question;
    const bool yesNo = kind == MessageKind::Question;
    QMessageBox box(icon, caption, text,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint); // above the topmost bar and popups
    const int answer = box.exec();
    if (!yesNo)
        return MessageAnswer::Ok;
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

bool modalWindowsOpen() {
    return QApplication::activeModalWidget() != nullptr;
}

void showErrorReport(const QString& message) {
    showMessageBox(message, MessageKind::Error);
}
