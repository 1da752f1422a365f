#pragma once

#include <QByteArray>
#include <QString>

// Options.ini beside the program: UTF-16LE with a byte-order mark, CR LF line ends, INI
// syntax. Section and key names match without regard to letter case. Comment lines, empty
// lines, lines before the first section and spaces around names and values are not kept.

// Where the bar stands: Left as last placed or dragged, Top as read at start.
struct BarPlacement {
    bool hasSavedPosition = false; // the file held MainWnd/Left
    int left = -1;
    int top = 0;
};

// The text of Options.ini's bytes: always UTF-16LE, whatever they hold; a leading FF FE is
// skipped, a last odd byte dropped.
QString decodeOptionsText(const QByteArray& bytes);

// Reads MainWnd/Left and MainWnd/Top into `position`; a missing file leaves it untouched.
// A value that is missing or not an integer reads as 0.
void loadBarPlacement(const QString& fileName, BarPlacement& position);

// Sets MainWnd/Left and MainWnd/Top, keeping every other section, key and value, and
// writes the file back atomically. Throws FileError when it cannot be written.
void saveBarPlacement(const QString& fileName, int left, int top);
