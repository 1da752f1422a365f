#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

class FloatingBar;
class LibraryNode;
class Platform;

// The program's icon in the notification area. A click puts the bar on top and opens the
// System menu at the pointer; while one of the program's modal windows is open it brings that
// window forward instead.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    TrayIcon(Platform& platform, LibraryNode& systemNode, FloatingBar& bar);
    ~TrayIcon() override;

    // The menu as it is built when the icon is clicked (for tests).
    QMenu& menu() { return menu_; }
    void rebuildMenu();

private:
    void activated(QSystemTrayIcon::ActivationReason reason);
    void bringModalWindowForward();

    Platform& platform_;
    LibraryNode& systemNode_;
    FloatingBar& bar_;
    QSystemTrayIcon icon_;
    QMenu menu_;
};
