#pragma once

#include <QWidget>

class FolderPopup;
enum class ScrollDirection;

// One of the popup's two small arrow buttons; resting the pointer on it scrolls the entries.
// Hidden by a width of 0. A press on it does nothing.
class ScrollButton : public QWidget {
    Q_OBJECT
public:
    ScrollButton(FolderPopup* popup, QWidget* parent, ScrollDirection direction);
    void setLowered(bool lowered);
    bool isLowered() const { return lowered_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // While an entry is dragged, resting on the button scrolls too; it takes no drop.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;

private:
    FolderPopup* popup_;
    ScrollDirection direction_;
    bool lowered_ = false;
};
