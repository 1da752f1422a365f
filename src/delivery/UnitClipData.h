#pragma once

#include <QString>

class QMimeData;

// Pastes into whatever window has the keyboard focus: the payload goes on the clipboard, then
// Ctrl+V is synthesised. None of the program's windows takes the focus, so the chat input
// that had it still has it.

inline constexpr int VK_V = 0x56;

// A picture: as an image; a GIF also as its file, so that chat programs that accept files can
// send it animated. A missing file is reported; an undecodable one ends quietly.
void SendImageToChat(const QString& path);
// A snippet's text. A missing file pastes an empty text; an unreadable one throws FileError.
void SendTextToChat(const QString& path);
// Adds a one-file list naming `path` to the clipboard data being built.
void PutFileDropOnClipboard(QMimeData* data, const QString& path);
// Ctrl + `key` (a virtual-key code) as four key events.
void SendCtrlKey(int key);
