#pragma once

#include "library/LibraryNode.h"

#include <QRect>
#include <QString>

#include <functional>
#include <vector>

// The height of a row (a folder, a snippet, a command); a picture's cell is square.
inline constexpr int PopupRowHeight = 22;

// One cell of a popup: where it sits and what it shows. The cell copies what it shows from
// the library's node, so that a rescan freeing the nodes leaves it intact.
struct PopupCell {
    QRect rect; // in the popup's data panel, before any scrolling
    NodeKind kind = NodeKind::Command;
    QString path;
    QString caption;
    bool checked = false;
    bool placeholder = false; // the "空" of an empty folder
};

struct FolderLayout {
    int width = 0;                // the popup's outer width, frame included
    int visibleBottom = 0;        // the bottom of the last cell that fits the height available
    std::vector<PopupCell> cells; // never empty: an empty folder has its placeholder
};

// How wide a caption is drawn in its row (the popup's font for folders, snippets and
// pictures, the bar's font for commands and the placeholder).
using CaptionWidth = std::function<int(const QString& caption, NodeKind kind)>;

// Lays out a folder's children as a popup shows them: rows of 22 pixels, separators of 5,
// pictures side by side in square cells. The popup is as wide as its widest caption (plus the
// gutter and the submenu arrow) or picture row, at least 92 and at most `maxWidth`; cells
// whose bottom passes `availableHeight` are below the visible part.
FolderLayout layOutFolder(const LibraryNode& folder, const CaptionWidth& captionWidth, int maxWidth,
                          int availableHeight);

// Whether the row shows its caption in the popup's font rather than the bar's.
bool showsPopupFont(NodeKind kind);
