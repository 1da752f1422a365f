#pragma once

#include "app/AppPaths.h"

#include <QObject>

class FloatingBar;
class Library;
class LibraryNode;

// The System menu's commands, shared by the System popup (and later the tray menu): adds them
// to the library's System node and carries them out.
class SystemCommands : public QObject {
    Q_OBJECT
public:
    SystemCommands(const AppPaths& paths, Library& library, FloatingBar& bar);

    void importPackage();
    void openLibraryFolder();
    void orderTopFolders();
    void toggleHidden();
    void openHelp();
    void showAbout();
    // Remembers the bar's position and the settings, then ends the program. Throws FileError
    // when Options.ini cannot be written: the caller reports it and the program runs on.
    void exitProgram();

    // The command nodes, in menu order (for tests).
    LibraryNode* command(const QString& caption) const;

private:
    void addCommands();

    AppPaths paths_;
    Library& library_;
    FloatingBar& bar_;
};
