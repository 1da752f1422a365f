#pragma once

#include <QString>

// Where the program keeps its files, fixed once at start from the program's folder.
struct AppPaths {
    QString exeDir;      // the program's folder, with a trailing separator
    QString dataDir;     // exeDir + "数据", the library root, no trailing separator
    QString optionsFile; // exeDir + "Options.ini"

    static AppPaths forProgramFolder(const QString& folder);
};
