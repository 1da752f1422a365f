#pragma once

#include <QPixmap>
#include <QWidget>

// The bar's background: a left cap, a stretched middle and a right cap. Pressing it and
// dragging moves the bar; the positions reported are the pointer's on the screen.
class BarSkin : public QWidget {
    Q_OBJECT
public:
    explicit BarSkin(QWidget* parent);

    static constexpr int CapWidth = 6;

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

private:
    QPixmap left_;
    QPixmap middle_;
    QPixmap right_;
};
