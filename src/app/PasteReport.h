#pragma once

enum class PasteResult;

// Tells the user what went wrong with a paste, in a message box; a paste that worked, a paste
// left on the clipboard, or a picture that cannot be decoded, says nothing.
void reportPasteResult(PasteResult result);
