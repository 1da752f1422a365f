#pragma once

#include <QWidget>

// The bar's background: a glossy blue band between two caps. Pressing it and
// dragging moves the bar; the positions reported are the pointer's on the screen.
class BarSkin : public QWidget {
    Q_OBJECT
public:
    explicit BarSkin(QWidget* parent);

signals:
    void pressed(QPoint cursor);
    void dragged(QPoint cursor);
    void released(QPoint cursor);
    void entered();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void enterEvent(QEnterEvent*) override;
};
