#include "app/TrayIcon.h"

#include "bar/FloatingBar.h"
#include "platform/Platform.h"
#include "ui/MessageBox.h"

#include <QApplication>

TrayIcon::TrayIcon(Platform& platform, const QList<QAction*>& commands, FloatingBar& bar)
    : platform_(platform), commands_(commands), bar_(bar) {
    icon_.setIcon(QApplication::windowIcon());
    icon_.setToolTip(QStringLiteral("Jolvex"));
    connect(&icon_, &QSystemTrayIcon::activated, this, &TrayIcon::activated);
    // Shown even without a tray: Qt adds the icon when a tray appears later.
    icon_.show();
}

TrayIcon::~TrayIcon() {
    icon_.hide();
}

void TrayIcon::rebuildMenu() {
    menu_.clear();
    for (QAction* command : commands_) {
        if (command->isSeparator()) {
            menu_.addSeparator();
            continue;
        }
        QAction* item = menu_.addAction(command->text());
        item->setCheckable(command->isCheckable());
        item->setChecked(command->isChecked());
        // Run once the menu has closed: a command may open a modal dialog.
        connect(item, &QAction::triggered, this, [this, command] {
            QMetaObject::invokeMethod(
                this, [command] { command->trigger(); }, Qt::QueuedConnection);
        });
    }
}

void TrayIcon::activated(QSystemTrayIcon::ActivationReason reason) {
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::Context)
        return;
    platform_.raiseTopmost(&bar_); // a hidden bar stays hidden
    if (modalWindowsOpen()) {
        bringModalWindowForward();
        return;
    }
    rebuildMenu();
    menu_.popup(platform_.cursorPos());
}

void TrayIcon::bringModalWindowForward() {
    const QPoint cursor = platform_.cursorPos();
    // A click on the bar, which the modal window blocks, brings that window forward; on a
    // hidden bar the click would land on another program's window, so it is left out.
    if (bar_.isVisible()) {
        platform_.setCursorPos(bar_.requestedPosition() + QPoint(1, 1));
        platform_.sendLeftClick();
        platform_.setCursorPos(cursor);
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
    platform_.beep();
}
