#pragma once

#include <QString>

// Options.ini beside the program: UTF-16LE with a byte-order mark, CR LF line ends, INI
// syntax. Section and key names match without regard to letter case. Comment lines, empty
// lines, lines before the first section and spaces around names and values are not kept.

struct SavedBarPosition {
    bool HasSavedPosition = false; // the file held MainWnd/Left
    int BarLeft = -1;
    int BarTop = 0;
};

// Reads MainWnd/Left and MainWnd/Top into `position`; a missing file leaves it untouched.
// A value that is missing or not an integer reads as 0.
void LoadOptions(const QString& fileName, SavedBarPosition& position);

// Sets MainWnd/Left and MainWnd/Top, keeping every other section, key and value, and
// writes the file back atomically. Throws FileError when it cannot be written.
void SaveOptions(const QString& fileName, int left, int top);
