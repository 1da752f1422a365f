#include "popup/FolderLayout.h"

#include "picture/ThumbnailGeometry.h"
#include "ui/Theme.h"

#include <algorithm>

namespace {
constexpr int kMinWidth = 92;
constexpr int kSeparatorHeight = 5;
constexpr int kCaptionMargins = 54; // the gutter picture, the gaps and the submenu arrow
constexpr int kPictureRowMargins = 4;

int widthFor(const LibraryNode& folder, const CaptionWidth& captionWidth, int maxWidth) {
    int width = 0;
    for (int i = 0; i < folder.childCount();) {
        const LibraryNode* child = folder.child(i);
        int candidate = 0;
        if (child->kind() == NodeKind::Image) {
            candidate = kPictureRowMargins;
            while (i < folder.childCount() && folder.child(i)->kind() == NodeKind::Image) {
                candidate += ThumbnailCellSide;
                ++i;
            }
        } else {
            candidate = captionWidth(child->caption(), child->kind()) + kCaptionMargins;
            ++i;
        }
        width = std::max(width, candidate);
    }
    return std::min(std::max(width, kMinWidth), maxWidth);
}

PopupCell cellFor(const LibraryNode& node) {
    PopupCell cell;
    cell.kind = node.kind();
    cell.path = node.path();
    cell.caption = node.caption();
    cell.checked = node.isChecked();
    return cell;
}
} // namespace

bool showsPopupFont(NodeKind kind) {
    return kind == NodeKind::Text || kind == NodeKind::Folder || kind == NodeKind::Image;
}

FolderLayout layOutFolder(const LibraryNode& folder, const CaptionWidth& captionWidth, int maxWidth,
                          int availableHeight) {
    FolderLayout layout;
    layout.width = widthFor(folder, captionWidth, maxWidth);
    const int dataWidth = layout.width - 2;
    const int count = std::max(1, folder.childCount());
    layout.cells.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        PopupCell cell;
        if (i < folder.childCount()) {
            cell = cellFor(*folder.child(i));
        } else {
            cell.caption = QString::fromUtf8(EmptyCaption);
            cell.placeholder = true;
        }
        const PopupCell* previous = i > 0 ? &layout.cells.back() : nullptr;
        QRect bounds(1, 1, dataWidth - 2, PopupRowHeight);
        if (previous)
            bounds.moveTop(previous->rect.y() + previous->rect.height());
        if (cell.kind == NodeKind::Separator) {
            bounds.setHeight(kSeparatorHeight);
        } else if (cell.kind == NodeKind::Image) {
            bounds.setSize(QSize(ThumbnailCellSide, ThumbnailCellSide));
            if (previous && previous->kind == NodeKind::Image &&
                previous->rect.x() + previous->rect.width() + ThumbnailCellSide < dataWidth)
                bounds.moveTopLeft(
                    QPoint(previous->rect.x() + previous->rect.width(), previous->rect.y()));
        }
        cell.rect = bounds;
        const int bottom = bounds.y() + bounds.height();
        if (bottom < availableHeight)
            layout.visibleBottom = bottom;
        layout.cells.push_back(std::move(cell));
    }
    return layout;
}
