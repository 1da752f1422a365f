#pragma once

#include <QString>

class Platform;
class QMimeData;

// Pastes into whatever window has the keyboard focus: the payload goes on the clipboard, then
// Ctrl+V is synthesised. None of the program's windows takes the focus, so the chat input
// that had it still has it. The caller tells the user what went wrong.

enum class PasteResult {
    Pasted,
    PastedWithoutFileList, // a GIF went out as an image only: its file list could not be made
    CopiedOnly,            // on the clipboard, but no Ctrl+V could be sent: the user pastes
    PictureMissing,        // the file is gone: nothing was pasted
    NotDecodable,          // the picture cannot be read: nothing was pasted
};

// A picture: as an image; a GIF also as its file, so that chat programs that accept files can
// send it animated.
PasteResult pastePicture(Platform& platform, const QString& path);
// A snippet's text. A missing file pastes an empty text; an unreadable one throws FileError.
// Pasted or CopiedOnly.
PasteResult pasteText(Platform& platform, const QString& path);
// Adds a one-file list naming `path` to the clipboard data being built.
void addFileList(Platform& platform, QMimeData* data, const QString& path);
