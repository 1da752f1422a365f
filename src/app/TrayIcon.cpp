#include "app/TrayIcon.h"

#include "bar/FloatingBar.h"
#include "library/LibraryNode.h"
#include "platform/Platform.h"
#include "ui/MessageBox.h"

#include <QApplication>

TrayIcon::TrayIcon(Platform& platform, LibraryNode& systemNode, FloatingBar& bar)
    : platform_(platform), systemNode_(systemNode), bar_(bar) {
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
    for (int i = 0; i < systemNode_.childCount(); ++i) {
        LibraryNode* command = systemNode_.child(i);
        if (command->kind() == NodeKind::Separator) {
            menu_.addSeparator();
            continue;
        }
        QAction* action = menu_.addAction(command->caption());
        action->setCheckable(command->isChecked());
        action->setChecked(command->isChecked());
        // Run once the menu has closed: a command may open a modal dialog.
        connect(action, &QAction::triggered, this, [this, command] {
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
