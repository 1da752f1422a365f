#pragma once

#include "popup/FolderLayout.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

class FolderPopup;
class LibraryNode;

// One entry of a popup: a 22-pixel row for a folder, a snippet or a command, a 5-pixel
// separator, a 44x44 thumbnail cell for a picture, or the placeholder of an empty folder.
// Paints itself from its own copy of the cell, reports the pointer to its popup and passes a
// click on to it.
class PopupEntry : public QWidget {
    Q_OBJECT
public:
    // `index`: the cell's place among the popup's cells (and its folder's children).
    PopupEntry(FolderPopup& popup, PopupCell cell, int index);

    NodeKind kind() const { return cell_.kind; }
    const QString& caption() const { return cell_.caption; }
    // The file or folder shown, a full path; empty for commands and the placeholder.
    const QString& path() const { return cell_.path; }
    bool isPlaceholder() const { return cell_.placeholder; }
    int index() const { return index_; }
    // Hot: drawn framed on the highlight colour.
    bool isHot() const { return hot_; }
    void setHot(bool hot);
    // What a picture's cell shows; null draws the empty frame.
    void setThumbnail(const QImage& thumbnail);

    // The pointer came onto or left the entry.
    void pointerEntered();
    void pointerLeft();
    // A click: opens a folder's submenu; on anything else the popups close and the first-level
    // popup reports the entry as activated (whoever owns it pastes or runs the command).
    void click();

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void drawCaption(QPainter& painter, QRect rect);
    void drawThumbnail(QPainter& painter, const QColor& pen, const QColor& brush);
    // The node the cell shows, looked up in the popup's folder now; null for the placeholder.
    LibraryNode* currentNode() const;
    // Drags this entry; returns once the drag has ended, when this entry may be gone.
    void startDrag();
    bool takesDrop() const;

    QPointer<FolderPopup> popup_;
    PopupCell cell_;
    int index_;
    QColor textColour_ = Qt::black;
    QImage thumbnail_;
    bool hot_ = false;
};
