#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

class FloatingBar;
class Platform;

// The program's icon in the notification area. A click puts the bar on top and opens the
// System menu at the pointer; while one of the program's modal windows is open it brings that
// window forward instead.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    // `commands`: the System menu's actions, shown in the icon's menu.
    TrayIcon(Platform& platform, const QList<QAction*>& commands, FloatingBar& bar);
    ~TrayIcon() override;

    // The menu as it is built when the icon is clicked (for tests).
    QMenu& menu() { return menu_; }
    void rebuildMenu();

private:
    void activated(QSystemTrayIcon::ActivationReason reason);
    void bringModalWindowForward();

    Platform& platform_;
    QList<QAction*> commands_;
    FloatingBar& bar_;
    QSystemTrayIcon icon_;
    QMenu menu_;
};
