#include "platform/QtOnlyPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QMimeData>
#include <QWidget>

QtOnlyPlatform::QtOnlyPlatform() : poller_([this] { return leftOrRightButtonDown(); }) {}

void QtOnlyPlatform::makeNonActivatingWindow(QWidget* window, WindowRole role) {
    applyNonActivatingFlags(window, role);
}

void QtOnlyPlatform::raiseTopmost(QWidget* window) {
    if (window->isVisible())
        window->raise();
}

void QtOnlyPlatform::setWindowTag(QWidget* window, std::uint32_t tag) {
    storeTagProperty(window, tag);
}

std::uint32_t QtOnlyPlatform::windowTagUnderCursor() {
    return tagProperty(QApplication::topLevelAt(QCursor::pos()));
}

bool QtOnlyPlatform::pointerOverOwnWindow() {
    return QGuiApplication::topLevelAt(QCursor::pos()) != nullptr;
}

bool QtOnlyPlatform::leftOrRightButtonDown() {
    return QGuiApplication::mouseButtons() & (Qt::LeftButton | Qt::RightButton);
}

QPoint QtOnlyPlatform::cursorPos() {
    return QCursor::pos();
}

void QtOnlyPlatform::setCursorPos(const QPoint& position) {
    QCursor::setPos(position);
}

void QtOnlyPlatform::watchButtonPresses(std::function<void()> onPress) {
    poller_.watch(std::move(onPress));
}

void QtOnlyPlatform::beep() {
    QApplication::beep();
}

void QtOnlyPlatform::addFileListToMimeData(QMimeData* data, const QString& path) {
    addUriList(data, path);
}

void QtOnlyPlatform::setClipboard(std::unique_ptr<QMimeData> data) {
    QGuiApplication::clipboard()->setMimeData(data.release());
}
