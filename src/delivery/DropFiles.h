#pragma once

#include <QByteArray>
#include <QString>

// The Windows shell's one-file drop list (DROPFILES with wide names): offset of the list (20),
// drop point (0, 0), fNC 0, fWide all ones, the path in UTF-16LE, then two NUL characters.
// All integers little-endian; 2n + 24 bytes for a path of n UTF-16 code units.
QByteArray buildDropFilesBlock(const QString& path);
