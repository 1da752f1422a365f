#pragma once

#include <QProcessEnvironment>
#include <QString>

// Where the program keeps its files, fixed once at start.
//
// A program folder of its own (a build, an unpacked copy) keeps everything beside the program:
// the library `数据` and `Options.ini` (the portable layout). An installed program
// (<prefix>/bin/jolvex with <prefix>/share/jolvex), or one in a folder the user cannot write,
// keeps them in the user's folders: $XDG_DATA_HOME/Jolvex/数据 and
// $XDG_CONFIG_HOME/Jolvex/Options.ini. A `数据` already beside the program always wins.
struct AppPaths {
    QString exeDir;        // the program's folder, with a trailing separator
    QString programFile;   // the program itself, as the autostart entry starts it
    QString dataDir;       // the library root, no trailing separator
    QString optionsFile;   // Options.ini
    QString recentFile;    // the recent list, beside Options.ini: Recent.txt
    QString helpFile;      // the user's guide
    QString starterFolder; // a library copied into an empty one at the first start; may be empty
    QString autostartFile; // $XDG_CONFIG_HOME/autostart/jolvex.desktop
    // Thumbnails for high-resolution screens, in every layout:
    // $XDG_CACHE_HOME/jolvex/thumbnails.
    QString thumbnailCacheFolder;
    QString trashFolder; // the user's freedesktop Trash: $XDG_DATA_HOME/Trash
    bool portable = true;

    // The layout for the program at `programFile`, in the environment `environment`.
    static AppPaths
    locate(const QString& programFile,
           const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
    // The portable layout for a program in `folder`.
    static AppPaths forProgramFolder(
        const QString& folder,
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
};
