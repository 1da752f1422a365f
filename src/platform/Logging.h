#pragma once

// The program's logging categories, one a layer (or a part of one). Each prints warnings only
// by default: a failure that the program gets over by itself (a picture without a thumbnail,
// a key it cannot press, a settings write that did not stick) leaves a line, normal use none.
// QT_LOGGING_RULES="jolvex.*.debug=true" shows the rest.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcFiles)    // jolvex.fs: files and folders
Q_DECLARE_LOGGING_CATEGORY(lcSettings) // jolvex.settings: the settings store, Options.ini
Q_DECLARE_LOGGING_CATEGORY(lcX11)      // jolvex.x11: the window system, the desktop portal
Q_DECLARE_LOGGING_CATEGORY(lcPaste)    // jolvex.paste: the clipboard and the paste
Q_DECLARE_LOGGING_CATEGORY(lcThumbs)   // jolvex.thumbs: thumbnails and previews
Q_DECLARE_LOGGING_CATEGORY(lcOnline)   // jolvex.online: statistics and the update check
