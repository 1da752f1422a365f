#pragma once

#include <QString>

// Names, paths and extensions are compared with only the letters a-z folded to A-Z;
// every other UTF-16 code unit must match exactly. No locale is involved.

// Negative, zero or positive like strcmp.
int compareNames(const QString& a, const QString& b);
// Equal length and equal under the folding above.
bool sameText(const QString& a, const QString& b);
// The part of `name` from its last "." to the end, dot included; empty without a dot.
QString extractExtension(const QString& name);
// The last component of a node's path: what follows the last separator.
QString nodeName(const QString& hint);
// Whether a name from outside (a package, a web address, the user) may become a file name
// here: not empty, not "." or "..", no path separator, no control character, not too long for
// the file system.
bool isSafeFileName(const QString& name);
