#pragma once

#include "app/AppPaths.h"
#include "import/PackageImporter.h"

#include <QObject>

class FloatingBar;
class Library;
class LibraryNode;
class QAction;

// The System menu's commands as actions, shared by the System popup and the tray menu: each
// action is also a command entry of the library's System node, and carries out its command.
class SystemCommands : public QObject {
    Q_OBJECT
public:
    SystemCommands(const AppPaths& paths, Library& library, FloatingBar& bar);

    void importPackage();
    // What follows an import: the bar shows a folder that it left, and the message says how it
    // went (a failure names the folder where what was unpacked stays).
    void reportImport(const PackageImporter& importer, PackageImporter::Outcome outcome);
    void openLibraryFolder();
    void orderTopFolders();
    // Writes or removes the user's autostart entry for this program ("开机时启动").
    void setStartAtLogin(bool start);
    // Hides the bar (the "隐藏窗口" check mark set) or shows it again.
    void setBarHidden(bool hidden);
    void openHelp();
    void showAbout();
    // Remembers the bar's position and the settings, then ends the program. Throws FileError
    // when Options.ini cannot be written: the caller reports it and the program runs on.
    void exitProgram();

    // Writes the order of the top-level folders to the library's Order.ini, then rebuilds the
    // tree and the bar. Throws FileError when the file cannot be written: then nothing changes.
    void saveTopOrder(const QStringList& names);
    // The names of the top-level folders in the bar's order.
    QStringList topFolderNames() const;
    // A second start asked for the bar: shown if hidden, and put on top.
    void bringBarBack();

    // The commands in menu order, separators included.
    const QList<QAction*>& actions() const { return actions_; }
    // The command node with this caption (for tests).
    LibraryNode* command(const QString& caption) const;

private:
    void addCommands();

    AppPaths paths_;
    QList<QAction*> actions_;
    QAction* hideAction_ = nullptr;
    QAction* autostartAction_ = nullptr;
    Library& library_;
    FloatingBar& bar_;
};
