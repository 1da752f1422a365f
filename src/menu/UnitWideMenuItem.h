#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

class TFmMenu;
class TMenuItem;

// One entry of a popup: a 22-pixel row for a folder, a snippet or a command, a 5-pixel
// separator, a 44x44 thumbnail cell for a picture, or the placeholder of an empty folder.
// Paints itself, reports the pointer to its popup and acts on a click.
class TWideMenuItem : public QWidget {
    Q_OBJECT
public:
    explicit TWideMenuItem(QWidget* parent = nullptr);

    int ImageIndex = -1;             // the node's kind, or a command's icon
    TMenuItem* MenuItem = nullptr;   // the node shown; null for the placeholder
    TMenuItem* ParentMenu = nullptr; // the folder the entry lies in
    QPixmap LeftBarGraphic;          // the 22x22 gutter picture
    QPointer<TFmMenu> hMenuWnd;      // the popup that holds the entry
    bool Empty = false;              // the placeholder of an empty folder
    bool MouseEnter = false;         // hot
    QString Caption;
    QString Hint; // the node's full path
    QColor FontColor = Qt::black;

    void CMMouseEnter();
    void CMMouseLeave();
    void Click();

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void DoDrawText(QPainter& painter, QRect rect);
    void DrawThumbBitmap(QPainter& painter, const QColor& pen, const QColor& brush);
    int NodeIndex() const;
};
