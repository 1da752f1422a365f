#pragma once

#include <xcb/xcb.h>

class QString;

// The target's half of the X Direct Save protocol (XDS), which Firefox uses to hand over a
// dragged picture's own file: the drag's source names a file in the "XdndDirectSave0"
// property of its window; the target replaces it with the address where it wants the file,
// then asks the drop's data for "XdndDirectSave0", on which the source saves the file there
// and answers "S" (saved), "E" (error) or "F" (ask another way).
//
// Writes the address of `path` into the source's property. False when the source of the drag
// now dropped offers no such save (no property on the owner of the drop's selection) or its
// window is gone.
bool offerDirectSavePath(xcb_connection_t* connection, const QString& path);
