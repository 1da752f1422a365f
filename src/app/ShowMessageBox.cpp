#include "app/ShowMessageBox.h"

#include "app/UnitDef.h"

#include <QMessageBox>

int ShowMessageBox(const QString& text, const QString& caption, int flags) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if ((flags & 0xF0) == MB_ICONERROR)
        icon = QMessageBox::Critical;
    else if ((flags & 0xF0) == MB_ICONQUESTION)
        icon = QMessageBox::Question;
    const bool yesNo = (flags & 0x0F) == MB_YESNO;
    QMessageBox box(icon, caption, text,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint); // above the topmost bar and popups

    ++ModalDepth;
    const int answer = box.exec();
    --ModalDepth;
    if (!yesNo)
        return IDOK;
    return answer == QMessageBox::Yes ? IDYES : IDNO;
}

void ShowErrorReport(const QString& message) {
    ShowMessageBox(message, QString::fromUtf8(MessageCaption), MB_ICONERROR);
}
