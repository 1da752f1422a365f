#pragma once

#include <QPointer>
#include <QWidget>

class FolderPopup;
class LibraryNode;
enum class NodeKind;

// One entry of a popup: a 22-pixel row for a folder, a snippet or a command, a 5-pixel
// separator, a 44x44 thumbnail cell for a picture, or the placeholder of an empty folder.
// Paints itself, reports the pointer to its popup and acts on a click.
class PopupEntry : public QWidget {
    Q_OBJECT
public:
    PopupEntry(FolderPopup& popup, LibraryNode* node);
    // The entry an empty folder shows instead of children.
    static PopupEntry* placeholder(FolderPopup& popup, const QString& caption, QColor colour);

    NodeKind kind() const { return kind_; }
    // The node shown; null for the placeholder.
    LibraryNode* node() const { return node_; }
    const QString& caption() const { return caption_; }
    // The node's full path.
    const QString& path() const { return path_; }
    bool isPlaceholder() const { return node_ == nullptr; }
    // Hot: drawn framed on the highlight colour.
    bool isHot() const { return hot_; }
    void setHot(bool hot);

    // The pointer came onto or left the entry.
    void pointerEntered();
    void pointerLeft();
    // A click: pastes a picture or a snippet, opens a folder's submenu, runs a command.
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
    int nodeIndex() const;
    // Drags this entry; returns once the drag has ended, when this entry may be gone.
    void startDrag();
    bool takesDrop() const;

    QPointer<FolderPopup> popup_;
    LibraryNode* node_;
    NodeKind kind_;
    QString caption_;
    QString path_;
    QColor textColour_ = Qt::black;
    bool hot_ = false;
};
