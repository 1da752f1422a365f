#pragma once

#include <QPixmap>
#include <QWidget>

class TFmMenuBar;

// One of the bar's three skin pictures (left cap, stretched middle, right cap). Pressing and
// dragging any of them moves the bar.
class SkinImage : public QWidget {
    Q_OBJECT
public:
    SkinImage(TFmMenuBar* bar, QWidget* panel, const QString& resource);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void enterEvent(QEnterEvent*) override;

private:
    TFmMenuBar* bar_;
    QPixmap picture_;
};
